#include "containers/ContainersTableViewController.h"

#include "app/RefusalAlert.h"
#include "app/SectionHeaderView.h"
#include "app/TableScreenBackground.h"
#include "containers/ContainerScreen.h"
#include "containers/ContainerTableViewCell.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"

namespace {

constexpr double searchHeight = 44;

std::string sectionTitle(TBKChunkKey::Dimension dimension) {
  std::string name = TBKChunkKey::dimensionName(dimension);
  return dimension == TBKChunkKey::Dimension::Overworld ? name : "The " + name;
}

}  // namespace

ContainersTableViewController::ContainersTableViewController(std::shared_ptr<TBKLevelDB> db,
                                                             std::shared_ptr<TBKCompoundTag> player)
    : db_(std::move(db)) {
  setTitle("Containers");
  if (player) {
    auto position = player->listForKey("Pos");
    if (position && position->count() >= 3) {
      auto coordinate = [&](size_t i) {
        auto number = std::dynamic_pointer_cast<TBKNumberTag>(position->objectAtIndexedSubscript(i));
        return number ? number->value().doubleValue() : 0.0;
      };
      playerX_ = coordinate(0);
      playerZ_ = coordinate(2);
    }
    int32_t dimension = player->numberForKey("DimensionId").intValue();
    if (dimension == 1 || dimension == 2) playerDimension_ = static_cast<TBKChunkKey::Dimension>(dimension);
  }
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(0, 0, 320, 480), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorColor(ui::Color::clear());
  tableView_->registerClass<ContainerTableViewCell>("cell");
  searchBar_ = std::make_shared<ui::SearchBar>();
  searchBar_->setPlaceholder("Name, kind or position");
}

ContainersTableViewController::~ContainersTableViewController() {
  if (task_) task_->cancel();
}

void ContainersTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<ContainersTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);
  std::weak_ptr<ContainersTableViewController> weakSelf = self;
  searchBar_->onTextChanged = [weakSelf](ui::SearchBar&, const std::string& text) {
    if (auto screen = weakSelf.lock()) screen->search(text);
  };
  searchBar_->onCancel = [weakSelf](ui::SearchBar&) {
    if (auto screen = weakSelf.lock()) screen->search("");
  };
  view()->addSubview(searchBar_);

  progressLabel_ = std::make_shared<BVLLabel>(ui::Rect(0, 120, view()->bounds().width(), 24));
  progressLabel_->setFont(ui::Font::named("Minecraft", 16));
  progressLabel_->setTextAlignment(ui::TextAlignment::Center);
  progressLabel_->setText("Looking through the world... 0%");
  view()->addSubview(progressLabel_);
  // The work holds the database, never the screen: what it finds goes to
  // a screen that may be gone by then.
  struct Result {
    ContainerList::Listing listing;
    std::string failure;
  };
  auto result = std::make_shared<Result>();
  task_ = ui::BackgroundTask::start(
      [db = db_, result](const ui::BackgroundTask::Progress& progress) {
        double done = 0;
        try {
          result->listing = ContainerList::list(
              *db, [&] { return !progress(done); }, [&](double share) { progress(done = share); });
        } catch (const TBKException& error) {
          result->failure = error.reason();
        }
      },
      [weakSelf](double done) {
        if (auto self = weakSelf.lock(); self && !self->listed_) {
          self->progressLabel_->setText("Looking through the world... " + std::to_string(int(done * 100)) + "%");
        }
      },
      [weakSelf, result] {
        auto self = weakSelf.lock();
        if (!self) return;
        if (!result->failure.empty()) showError(result->failure);
        self->show(std::move(result->listing));
      });
}

void ContainersTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (!background_) {
    auto root = view();
    background_ = addTableScreenBackground(*root);
    double width = root->bounds().width();
    searchBar_->setFrame(ui::Rect(0, 0, width, searchHeight));
    tableView_->setFrame(ui::Rect(0, searchHeight, width, root->bounds().height() - searchHeight));
  }
}

void ContainersTableViewController::show(ContainerList::Listing listing) {
  listed_ = true;
  progressLabel_->removeFromSuperview();
  containers_ = std::move(listing.containers);
  arrange();
  if (!listing.damaged.empty()) showError(listing.damaged.told("Some containers could not be listed."));
  if (listing.notListed > 0) {
    showNotice("Not All Listed", "This world holds " + std::to_string(listing.notListed) +
                                     " more containers than the " + std::to_string(ContainerList::maximumListed) +
                                     " Gorvane lists.");
  }
}

void ContainersTableViewController::search(const std::string& text) {
  searchText_ = text;
  arrange();
}

void ContainersTableViewController::arrange() {
  sections = ContainerList::sections(containers_, playerX_, playerZ_, playerDimension_, searchText_);
  tableView_->reloadData();
}

long ContainersTableViewController::numberOfRowsInSection(ui::TableView&, long section) {
  return long(sections.at(size_t(section)).containers.size());
}

std::shared_ptr<ui::TableViewCell> ContainersTableViewController::cellForRowAtIndexPath(
    ui::TableView& tableView, const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<ContainerTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  const ContainerSummary& container = sections.at(size_t(indexPath.section)).containers.at(size_t(indexPath.row));
  std::weak_ptr<ContainersTableViewController> weakSelf =
      std::static_pointer_cast<ContainersTableViewController>(shared_from_this());
  cell->makeReadyWithContainer(container, [weakSelf, section = indexPath.section, row = indexPath.row] {
    if (auto self = weakSelf.lock()) self->open(self->sections.at(size_t(section)).containers.at(size_t(row)));
  });
  return cell;
}

std::shared_ptr<ui::View> ContainersTableViewController::viewForHeaderInSection(ui::TableView& tableView,
                                                                                long section) {
  return makeSectionHeaderView(sectionTitle(sections.at(size_t(section)).dimension), tableView.frame().width());
}

void ContainersTableViewController::open(const ContainerSummary& container) {
  std::shared_ptr<ui::ViewController> screen;
  try {
    screen = containerScreen(db_, container);
  } catch (const TBKException& error) {
    return showError(error.reason());
  }
  if (auto navigation = navigationController()) navigation->pushViewController(screen, true);
}
