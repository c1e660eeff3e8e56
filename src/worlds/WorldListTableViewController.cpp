#include "worlds/WorldListTableViewController.h"

#include <algorithm>

#include "app/ProgressAlert.h"
#include "app/RefusalAlert.h"
#include "app/TableScreenBackground.h"
#include "backups/BackupTableViewCell.h"
#include "backups/BackupsTableViewController.h"
#include "level/LevelTableViewController.h"
#include "records/BackupShelf.h"
#include "ui/AlertView.h"
#include "ui/BarButtonItem.h"
#include "ui/NavigationController.h"
#include "worlds/ChoiceTableViewController.h"
#include "worlds/WorldTableViewCell.h"

namespace {

struct ActionRow {
  const char* title;
  const char* detail;
};

// The second section, in the order of WorldListTableViewController::Action.
const ActionRow actionRows[] = {
    {"Import a World", "A .mcworld file from your documents or downloads"},
    {"Deleted Worlds", "Bring back a world you deleted"},
};

// The level name of a listed world, or its folder's name when that cannot
// be read.
std::string levelNameOf(const std::string& folderName) {
  try {
    return TBKLevelDB::dbForWorldNamed(folderName)->levelData()->stringForKey("LevelName");
  } catch (const TBKException&) {
    return folderName;
  }
}

}  // namespace

WorldListTableViewController::WorldListTableViewController() {
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  tableView_->registerClass<WorldTableViewCell>("cell");
}

WorldListTableViewController::~WorldListTableViewController() {
  if (working_) working_->cancel();
}

void WorldListTableViewController::setEditing(bool editing) {
  editing_ = editing;
  setTitle(editing ? "Copy or Delete" : "");
  std::weak_ptr<WorldListTableViewController> weak =
      std::static_pointer_cast<WorldListTableViewController>(shared_from_this());
  setRightBarButtonItem(
      std::make_shared<ui::BarButtonItem>(editing ? ui::SystemItem::Done : ui::SystemItem::Edit, [weak] {
        if (auto self = weak.lock()) self->setEditing(!self->editing_);
      }));
}

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
  setEditing(false);
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
  if (working_) working_->cancel();
}

long WorldListTableViewController::numberOfRowsInSection(ui::TableView&, long section) {
  if (section == 1) return long(std::size(actionRows));
  try {
    return long(TBKLevelDB::worlds().size());
  } catch (const TBKException&) {
    return 0;
  }
}

std::shared_ptr<ui::TableViewCell> WorldListTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                       const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<WorldTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  if (indexPath.section == 1) {
    const auto& row = actionRows[size_t(indexPath.row)];
    cell->configureWithTitle(row.title, row.detail);
  } else {
    cell->configureWithIndex(indexPath.row);
  }
  return cell;
}

void WorldListTableViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) {
  auto navigation = navigationController();
  if (indexPath.section == 1) {
    if (!navigation) return;
    if (Action(indexPath.row) == Action::DeletedWorlds) {
      return navigation->pushViewController(BackupsTableViewController::forDeletedWorlds(), true);
    }
    std::weak_ptr<WorldListTableViewController> weak =
        std::static_pointer_cast<WorldListTableViewController>(shared_from_this());
    return navigation->pushViewController(
        ChoiceTableViewController::forArchives([weak](const ChoiceTableViewController::Choice& archive) {
          auto self = weak.lock();
          if (!self || !self->navigationController()) return;
          self->navigationController()->popViewControllerAnimated(true);
          self->importArchive(archive.value);
        }),
        true);
  }
  std::shared_ptr<TBKLevelDB> db;
  try {
    std::vector<std::string> names = TBKLevelDB::worlds();
    if (indexPath.row < 0 || size_t(indexPath.row) >= names.size()) {
      // The world went away since the rows were counted.
      tableView.reloadData();
      return;
    }
    if (editing_) return offerChanges(names[size_t(indexPath.row)]);
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
  question_ = Question::Restore;
  auto self = std::static_pointer_cast<WorldListTableViewController>(shared_from_this());
  std::make_shared<ui::AlertView>("Error",
                                  reason + " Restore it as it was at " + BackupTableViewCell::localTime(*whole) + "?",
                                  self, "Cancel", std::vector<std::string>{"Restore"})
      ->show();
  return true;
}

void WorldListTableViewController::clickedButtonAtIndex(ui::AlertView& alert, long buttonIndex) {
  Question question = std::exchange(question_, Question::None);
  if (question == Question::Change && buttonIndex > 0) return answerChange(alert.buttonTitleAtIndex(buttonIndex));
  if (question == Question::Delete && buttonIndex == 1) return deleteWorld();
  if (question != Question::Restore) return;
  auto db = std::move(damagedWorld_);
  if (buttonIndex != 1 || !db) return;
  Outcome outcome = BackupShelf::ofWorld(db).restore(offeredBackup_);
  showRefusal(outcome);
  if (outcome) return;
  tableView_->reloadData();
  open(db);
}

void WorldListTableViewController::offerChanges(const std::string& folderName) {
  questionWorld_ = folderName;
  questionName_ = levelNameOf(folderName);
  question_ = Question::Change;
  auto self = std::static_pointer_cast<WorldListTableViewController>(shared_from_this());
  std::make_shared<ui::AlertView>(questionName_, "Copy this world, or delete it?", self, "Cancel",
                                  std::vector<std::string>{"Copy", "Delete"})
      ->show();
}

void WorldListTableViewController::answerChange(const std::string& answer) {
  if (answer == "Copy") return copyWorld(questionWorld_, questionName_);
  question_ = Question::Delete;
  auto self = std::static_pointer_cast<WorldListTableViewController>(shared_from_this());
  std::make_shared<ui::AlertView>("Delete",
                                  "Delete \"" + questionName_ +
                                      "\"? It is kept whole among the Deleted Worlds, from where it "
                                      "can be brought back.",
                                  self, "Cancel", std::vector<std::string>{"Delete"})
      ->show();
}

void WorldListTableViewController::deleteWorld() {
  showRefusal(attempt([&] { TBKWholeWorld::deleteWorld(questionWorld_); }));
  tableView_->reloadData();
}

void WorldListTableViewController::copyWorld(const std::string& folderName, const std::string& levelName) {
  auto outcome = std::make_shared<Outcome>();
  std::string worldFolder;
  if (Outcome unfound = attempt([&] { worldFolder = TBKLevelDB::dbForWorldNamed(folderName)->worldFolder(); })) {
    return showRefusal(unfound);
  }
  std::weak_ptr<WorldListTableViewController> weak =
      std::static_pointer_cast<WorldListTableViewController>(shared_from_this());
  working_ = ProgressAlert::start(
      "Copying", levelName,
      [worldFolder, outcome](const ui::BackgroundTask::Progress& progress) {
        *outcome = attempt([&] { TBKWholeWorld::copyWorld(worldFolder, progress); });
      },
      [weak, outcome] {
        showRefusal(*outcome);
        if (auto self = weak.lock()) {
          self->working_.reset();
          self->tableView_->reloadData();
        }
      });
}

void WorldListTableViewController::importArchive(const std::string& path) {
  struct Result {
    Outcome outcome;
    std::optional<std::string> world;
  };
  auto result = std::make_shared<Result>();
  std::string worlds;
  if (Outcome unfound = attempt([&] { worlds = TBKFileSource::sharedSource().worldsFolder(); })) {
    return showRefusal(unfound);
  }
  std::weak_ptr<WorldListTableViewController> weak =
      std::static_pointer_cast<WorldListTableViewController>(shared_from_this());
  working_ = ProgressAlert::start(
      "Importing", path.substr(path.rfind('/') + 1),
      [path, worlds, result](const ui::BackgroundTask::Progress& progress) {
        result->outcome = attempt([&] { result->world = TBKWorldArchive::importWorld(path, worlds, progress); });
      },
      [weak, result] {
        showRefusal(result->outcome);
        auto self = weak.lock();
        if (!self) return;
        self->working_.reset();
        self->tableView_->reloadData();
        if (!result->world) return;
        self->openWorld(*result->world);
      });
}

void WorldListTableViewController::openWorld(const std::string& folderName) {
  std::shared_ptr<TBKLevelDB> db;
  try {
    db = TBKLevelDB::dbForWorldNamed(folderName);
  } catch (const TBKException& error) {
    return showError(error.reason());
  }
  open(db);
}
