#include "worlds/ArchivesTableViewController.h"

#include "app/RefusalAlert.h"
#include "app/TableScreenBackground.h"
#include "external/Tarnbook.h"
#include "ui/Font.h"
#include "worlds/WorldTableViewCell.h"

ArchivesTableViewController::ArchivesTableViewController(std::function<void(const std::string& path)> chosen)
    : chosen_(std::move(chosen)) {
  setTitle("Import");
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  tableView_->registerClass<WorldTableViewCell>("cell");
  tableViewBackground_ = std::make_shared<ui::ImageView>(
      ui::Rect(0, 0, 1, 1), WorldTableViewCell::spritesheetTile(ui::Rect(34, 43, 14, 14), 28, 6));
  emptyLabel = std::make_shared<BVLLabel>(ui::Rect());
  emptyLabel->setStyle(BVLLabel::DetailStyle);
}

void ArchivesTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<ArchivesTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);
  view()->insertSubviewBelow(tableViewBackground_, tableView_);
  view()->addSubview(emptyLabel);
}

void ArchivesTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (!background_) layOut();
  archives_.clear();
  std::string folders[] = {TBKFileSource::documentsFolder(), TBKFileSource::downloadsFolder()};
  for (const auto& folder : folders) {
    Outcome unread = attempt([&] {
      for (auto& name : TBKWorldArchive::archivesIn(folder)) archives_.push_back({std::move(name), folder});
    });
    if (unread) showError(unread->reason);
  }
  emptyLabel->setText("No .mcworld files in your documents or downloads.");
  ui::Size size = ui::Font::named("Minecraft", 16).measure(emptyLabel->text());
  double W = view()->bounds().width();
  double width = std::min(size.width + 4, W - 40);
  emptyLabel->setFrame(ui::Rect((W - width) / 2, 30, width, size.height + 4));
  emptyLabel->setHidden(!archives_.empty());
  tableView_->reloadData();
}

void ArchivesTableViewController::layOut() {
  auto root = view();
  background_ = addTableScreenBackground(*root);
  double W = root->bounds().width();
  double H = root->bounds().height();
  tableView_->setFrame(ui::Rect(20, 12, W - 40, H - 24));
  tableViewBackground_->setFrame(ui::Rect(14, 6, W - 28, H - 12));
}

void ArchivesTableViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void ArchivesTableViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
}

std::shared_ptr<ui::TableViewCell> ArchivesTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                      const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<WorldTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  const auto& archive = archives_.at(size_t(indexPath.row));
  cell->configureWithTitle(archive.name, archive.folder);
  return cell;
}

void ArchivesTableViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) {
  if (indexPath.row < 0 || size_t(indexPath.row) >= archives_.size()) return;
  const auto& archive = archives_[size_t(indexPath.row)];
  if (chosen_) chosen_(archive.folder + "/" + archive.name);
}
