#include "backups/BackupsTableViewController.h"

#include "app/RefusalAlert.h"
#include "app/TableScreenBackground.h"
#include "backups/BackupTableViewCell.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"
#include "worlds/WorldTableViewCell.h"

BackupsTableViewController::BackupsTableViewController(BackupShelf shelf) : shelf_(std::move(shelf)) {
  setTitle("Backups");
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  tableView_->registerClass<BackupTableViewCell>("cell");
  tableViewBackground = std::make_shared<ui::ImageView>(
      ui::Rect(0, 0, 1, 1), WorldTableViewCell::spritesheetTile(ui::Rect(34, 43, 14, 14), 28, 6));
  ui::Size size = ui::Font::named("Minecraft", 16).measure(shelf_.whenEmpty());
  emptyLabel = std::make_shared<BVLLabel>(ui::Rect(0, 0, size.width + 4, size.height + 4));
  emptyLabel->setStyle(BVLLabel::DetailStyle);
  emptyLabel->setText(shelf_.whenEmpty());
}

std::shared_ptr<BackupsTableViewController> BackupsTableViewController::forWorld(std::shared_ptr<TBKLevelDB> db) {
  return std::make_shared<BackupsTableViewController>(BackupShelf::ofWorld(std::move(db)));
}

std::shared_ptr<BackupsTableViewController> BackupsTableViewController::forDeletedWorlds() {
  auto screen = std::make_shared<BackupsTableViewController>(BackupShelf::ofDeletedWorlds());
  screen->setTitle("Deleted Worlds");
  return screen;
}

std::shared_ptr<BackupsTableViewController> BackupsTableViewController::forOptions() {
  return std::make_shared<BackupsTableViewController>(BackupShelf::ofOptions());
}

void BackupsTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<BackupsTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);
  view()->insertSubviewBelow(tableViewBackground, tableView_);
  view()->addSubview(emptyLabel);
}

void BackupsTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (!background_) layOut();
  Outcome unread;
  backups_ = shelf_.list(&unread);
  if (unread) showError(unread->reason);
  emptyLabel->setHidden(!backups_.empty());
  tableView_->reloadData();
}

void BackupsTableViewController::layOut() {
  auto root = view();
  background_ = addTableScreenBackground(*root);
  double W = root->bounds().width();
  double H = root->bounds().height();
  tableView_->setFrame(ui::Rect(20, 12, W - 40, H - 24));
  tableViewBackground->setFrame(ui::Rect(14, 6, W - 28, H - 12));
  ui::Rect label = emptyLabel->frame();
  emptyLabel->setFrame(ui::Rect((W - label.width()) / 2, 30, label.width(), label.height()));
}

void BackupsTableViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void BackupsTableViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
}

std::shared_ptr<ui::TableViewCell> BackupsTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                     const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<BackupTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  cell->configureWithBackup(backups_.at(size_t(indexPath.row)));
  return cell;
}

void BackupsTableViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) {
  if (indexPath.row < 0 || size_t(indexPath.row) >= backups_.size()) return;
  chosen_ = backups_[size_t(indexPath.row)];
  if (!chosen_.restorable()) {
    showError("This backup cannot be restored: " + chosen_.damage + ".");
    return;
  }
  auto self = std::static_pointer_cast<BackupsTableViewController>(shared_from_this());
  std::make_shared<ui::AlertView>(
      "Restore", "Restore " + shelf_.described() + " at " + BackupTableViewCell::localTime(chosen_) + "?", self,
      "Cancel", std::vector<std::string>{"Restore"})
      ->show();
}

void BackupsTableViewController::clickedButtonAtIndex(ui::AlertView&, long buttonIndex) {
  if (buttonIndex != 1) return;
  Outcome outcome = shelf_.restore(chosen_);
  showRefusal(outcome);
  if (outcome) return;
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}
