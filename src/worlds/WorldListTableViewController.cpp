#include "worlds/WorldListTableViewController.h"

#include <algorithm>

#include "app/RefusalAlert.h"
#include "app/TableScreenBackground.h"
#include "backups/BackupTableViewCell.h"
#include "level/LevelTableViewController.h"
#include "records/BackupShelf.h"
#include "ui/AlertView.h"
#include "ui/NavigationController.h"
#include "worlds/WorldTableViewCell.h"

namespace {}  // namespace

WorldListTableViewController::WorldListTableViewController() {
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  tableView_->registerClass<WorldTableViewCell>("cell");
}

WorldListTableViewController::~WorldListTableViewController() = default;

void WorldListTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<WorldListTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);
  // Made with the view, not with the menu that holds this screen: the
  // spritesheet's decoding would otherwise delay the menu's first frame.
  tableViewBackground = std::make_shared<ui::ImageView>(
      ui::Rect(0, 0, 1, 1), WorldTableViewCell::spritesheetTile(ui::Rect(34, 43, 14, 14), 28, 6));
  view()->insertSubviewBelow(tableViewBackground, tableView_);
}

void WorldListTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  // Laid out once, with the view's size at the first appearance; before
  // the rows are filled, so that they are filled at their final width.
  if (!background_) layOut();
  // A worlds folder that cannot be listed (not a folder, not readable by
  // the user) is explained once a showing, and the list stays empty.
  try {
    TBKLevelDB::worlds();
  } catch (const TBKException& error) {
    showError(error.reason());
  }
  tableView_->reloadData();
}

void WorldListTableViewController::layOut() {
  auto root = view();
  background_ = addTableScreenBackground(*root);
  double W = root->bounds().width();
  double H = root->bounds().height();
  tableView_->setFrame(ui::Rect(20, 12, W - 40, H - 24));
  tableViewBackground->setFrame(ui::Rect(14, 6, W - 28, H - 12));
}

void WorldListTableViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void WorldListTableViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
}

long WorldListTableViewController::numberOfRowsInSection(ui::TableView&, long) {
  try {
    return long(TBKLevelDB::worlds().size());
  } catch (const TBKException&) {
    return 0;
  }
}

std::shared_ptr<ui::TableViewCell> WorldListTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                       const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<WorldTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  cell->configureWithIndex(indexPath.row);
  return cell;
}

void WorldListTableViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) {
  std::shared_ptr<TBKLevelDB> db;
  try {
    std::vector<std::string> names = TBKLevelDB::worlds();
    if (indexPath.row < 0 || size_t(indexPath.row) >= names.size()) {
      // The world went away since the rows were counted.
      tableView.reloadData();
      return;
    }
    db = TBKLevelDB::dbForWorldNamed(names[size_t(indexPath.row)]);
  } catch (const TBKException& error) {
    showError(error.reason());
    return;
  }
  open(db);
}

void WorldListTableViewController::open(const std::shared_ptr<TBKLevelDB>& db) {
  std::shared_ptr<LevelTableViewController> level;
  try {
    level = std::make_shared<LevelTableViewController>(db);
  } catch (const TBKException& error) {
    if (!offerRestore(db, error.reason())) showError(error.reason());
    return;
  }
  if (auto navigation = navigationController()) navigation->pushViewController(level, true);
}

// Only a level that cannot be read is offered a restore: a backup keeps the
// level files and player records, and cannot mend a broken database.
bool WorldListTableViewController::offerRestore(const std::shared_ptr<TBKLevelDB>& db, const std::string& reason) {
  try {
    db->levelData();
    return false;
  } catch (const TBKException& error) {
    if (error.kind() != TBKException::Kind::Format) return false;
  }
  auto whole = BackupShelf::ofWorld(db).newestWhole();
  if (!whole) return false;
  damagedWorld_ = db;
  offeredBackup_ = *whole;
  auto self = std::static_pointer_cast<WorldListTableViewController>(shared_from_this());
  std::make_shared<ui::AlertView>("Error",
                                  reason + " Restore it as it was at " + BackupTableViewCell::localTime(*whole) + "?",
                                  self, "Cancel", std::vector<std::string>{"Restore"})
      ->show();
  return true;
}

void WorldListTableViewController::clickedButtonAtIndex(ui::AlertView&, long buttonIndex) {
  auto db = std::move(damagedWorld_);
  if (buttonIndex != 1 || !db) return;
  Outcome outcome = BackupShelf::ofWorld(db).restore(offeredBackup_);
  showRefusal(outcome);
  if (outcome) return;
  tableView_->reloadData();
  open(db);
}
