#include "creatures/CreaturesTableViewController.h"

#include <algorithm>

#include "Tarnbook/TBKEntities.h"
#include "app/RefusalAlert.h"
#include "app/SectionHeaderView.h"
#include "app/TableScreenBackground.h"
#include "creatures/CreatureTableViewCell.h"
#include "creatures/CreatureViewController.h"
#include "records/CreatureKind.h"
#include "records/CreatureRecord.h"
#include "records/DamagedRecords.h"
#include "ui/NavigationController.h"

namespace {

constexpr double searchHeight = 44;

struct Clearing {
  const char* title;
  const char* identifier;
  const char* plural;
};
const Clearing clearings[] = {
    {CreaturesTableViewController::clearItemsTitle, "minecraft:item", "dropped items"},
    {CreaturesTableViewController::clearOrbsTitle, "minecraft:xp_orb", "experience orbs"},
};

std::string percent(double done) { return std::to_string(int(std::clamp(done, 0.0, 1.0) * 100)) + "%"; }

}  // namespace

CreaturesTableViewController::CreaturesTableViewController(std::shared_ptr<TBKLevelDB> db) : db_(std::move(db)) {
  setTitle("Creatures");
  setEdgesForExtendedLayout(ui::RectEdge::None);
  // Reading the player opens the database here, on the main thread, before
  // the worker reads it.
  try {
    TBKEntity::Summary player = TBKEntities::summaryOf(*db_->player());
    playerPosition_ = player.position;
    int32_t dimension = player.dimensionId.intValue();
    if (dimension == 1 || dimension == 2) playerDimension_ = static_cast<TBKChunkKey::Dimension>(dimension);
  } catch (const TBKException& error) {
    // A world never played lists its creatures around 0, 0, 0.
    if (error.kind() != TBKException::Kind::Format) throw;
  }
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  tableView_->registerClass<CreatureTableViewCell>("cell");
  searchBar_ = std::make_shared<ui::SearchBar>();
  searchBar_->setPlaceholder("Name or kind");
  progressLabel = std::make_shared<BVLLabel>(ui::Rect(0, 0, 300, 24));
  progressLabel->setStyle(BVLLabel::DetailStyle);
}

CreaturesTableViewController::~CreaturesTableViewController() {
  if (task_) task_->cancel();
}

void CreaturesTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<CreaturesTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  std::weak_ptr<CreaturesTableViewController> weak = self;
  searchBar_->onTextChanged = [weak](ui::SearchBar&, const std::string& text) {
    if (auto screen = weak.lock()) screen->search(text);
  };
  searchBar_->onCancel = [weak](ui::SearchBar&) {
    if (auto screen = weak.lock()) screen->search("");
  };
  view()->addSubview(tableView_);
  view()->addSubview(searchBar_);
  view()->addSubview(progressLabel);
}

void CreaturesTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (!background_) layOut();
  if (!listed_ && !listing_) startListing();
  arrange();
}

void CreaturesTableViewController::layOut() {
  auto root = view();
  background_ = addTableScreenBackground(*root);
  double W = root->bounds().width();
  double H = root->bounds().height();
  searchBar_->setFrame(ui::Rect(0, 0, W, searchHeight));
  tableView_->setFrame(ui::Rect(0, searchHeight, W, H - searchHeight));
  progressLabel->setFrame(ui::Rect((W - 300) / 2, searchHeight + 30, 300, 24));
}

void CreaturesTableViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void CreaturesTableViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
  // Leaving the screen while it lists stops the walk; coming back lists anew.
  if (listing_ && task_) task_->cancel();
}

void CreaturesTableViewController::startListing() {
  listing_ = true;
  progressLabel->setHidden(false);
  progressLabel->setText("Listing the creatures... 0%");
  struct Result {
    std::optional<TBKEntities::Listing> listing;
    std::string failure;
  };
  auto result = std::make_shared<Result>();
  std::weak_ptr<CreaturesTableViewController> weak =
      std::static_pointer_cast<CreaturesTableViewController>(shared_from_this());
  task_ = ui::BackgroundTask::start(
      [db = db_, result](const ui::BackgroundTask::Progress& progress) {
        // Asked at every record; progress posts only when the share grows.
        double done = 0;
        try {
          result->listing = TBKEntities::list(
              *db, [&] { return !progress(done); },
              [&](double share) {
                done = share;
                progress(share);
              });
        } catch (const TBKException& error) {
          result->failure = error.reason();
        }
      },
      [weak](double done) {
        if (auto self = weak.lock(); self && self->listing_) {
          self->progressLabel->setText("Listing the creatures... " + percent(done));
        }
      },
      [weak, result] {
        auto self = weak.lock();
        if (!self) return;
        self->listing_ = false;
        self->task_.reset();
        self->progressLabel->setHidden(true);
        if (!result->failure.empty()) return showError(result->failure);
        if (!result->listing) return;  // cancelled: listed again on the next showing
        self->listed_ = true;
        self->entities_ = std::move(result->listing->entities);
        self->arrange();
        DamagedRecords problems;
        problems.addAll(result->listing->problems, result->listing->problemsNotTold);
        if (!problems.empty()) showError(problems.told("Some creatures could not be listed."));
      });
}

void CreaturesTableViewController::search(const std::string& text) {
  searchText_ = text;
  arrange();
}

void CreaturesTableViewController::arrange() {
  sections_ = CreatureList::arrange(entities_, playerPosition_, playerDimension_, searchText_);
  tableView_->reloadData();
}

void CreaturesTableViewController::forget(const std::vector<std::shared_ptr<TBKEntity>>& gone) {
  std::erase_if(entities_,
                [&](const auto& entity) { return std::find(gone.begin(), gone.end(), entity) != gone.end(); });
  arrange();
}

long CreaturesTableViewController::numberOfSectionsInTableView(ui::TableView&) {
  return listed_ ? long(sections_.size()) + 1 : 0;
}

long CreaturesTableViewController::numberOfRowsInSection(ui::TableView&, long section) {
  if (size_t(section) == sections_.size()) return long(std::size(clearings));
  return long(sections_.at(size_t(section)).rows.size());
}

std::shared_ptr<ui::TableViewCell> CreaturesTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                       const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<CreatureTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  if (size_t(indexPath.section) == sections_.size()) {
    cell->prepareWithRow({clearings[indexPath.row].title, nullptr});
  } else {
    cell->prepareWithRow(sections_.at(size_t(indexPath.section)).rows.at(size_t(indexPath.row)));
  }
  return cell;
}

std::shared_ptr<ui::View> CreaturesTableViewController::viewForHeaderInSection(ui::TableView& tableView, long section) {
  std::string title = size_t(section) == sections_.size() ? "Clear Out" : sections_.at(size_t(section)).title;
  return makeSectionHeaderView(title, tableView.frame().width());
}

double CreaturesTableViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) {
  return CreatureTableViewCell::height;
}

void CreaturesTableViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) {
  auto self = std::static_pointer_cast<CreaturesTableViewController>(shared_from_this());
  if (size_t(indexPath.section) == sections_.size()) {
    const Clearing& chosen = clearings[indexPath.row];
    size_t count = CreatureList::ofKind(entities_, chosen.identifier).size();
    if (count == 0) return showError(std::string("This world has no ") + chosen.plural + ".");
    clearing_ = chosen.identifier;
    std::make_shared<ui::AlertView>("Remove", "Remove " + std::to_string(count) + " " + chosen.plural + "?", self,
                                    "Cancel", std::vector<std::string>{"Remove"})
        ->show();
    return;
  }
  const auto& row = sections_.at(size_t(indexPath.section)).rows.at(size_t(indexPath.row));
  if (!row.entity) return;
  std::shared_ptr<CreatureRecord> record;
  try {
    record = std::make_shared<CreatureRecord>(db_, row.entity);
  } catch (const TBKException& error) {
    return showError(error.reason());
  }
  auto screen = std::make_shared<CreatureViewController>(record);
  std::weak_ptr<CreaturesTableViewController> weak = self;
  screen->onRemoved = [weak](const std::shared_ptr<TBKEntity>& entity) {
    if (auto list = weak.lock()) list->forget({entity});
  };
  if (auto navigation = navigationController()) navigation->pushViewController(screen, true);
}

void CreaturesTableViewController::clickedButtonAtIndex(ui::AlertView&, long buttonIndex) {
  if (buttonIndex != 1) return;
  auto chosen = CreatureList::ofKind(entities_, clearing_);
  Outcome outcome = CreatureRecord::removeAll(*db_, chosen);
  showRefusal(outcome);
  if (!outcome) forget(chosen);
}
