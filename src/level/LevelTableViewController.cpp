#include "level/LevelTableViewController.h"

#include "app/SectionHeaderView.h"
#include "app/TableScreenBackground.h"
#include "level/PlayerSettingRows.h"
#include "records/GameMode.h"

namespace {

using Row = LevelSettingDefinition;

const std::vector<std::string> levelSections = {"Player", "General", "Spawn", "Tags", "Backups"};

// The "Player" rows come from playerSettingRows, the game type's segments
// from the world (today's worlds have more modes).
const std::map<std::string, std::vector<Row>> levelDefinitions = {
    {"General",
     {
         {"Level Name", "LevelName", Row::Text, {}},
         {"Game Type", "GameType", Row::Choice, {"Survival", "Creative"}},
     }},
    {"Spawn",
     {
         {"Spawn X", "SpawnX", Row::WholeNumber, {}},
         {"Spawn Y", "SpawnY", Row::WholeNumber, {}},
         {"Spawn Z", "SpawnZ", Row::WholeNumber, {}},
     }},
    // Every tag of the level and of the player, for what the rows above
    // do not show.
    {"Tags",
     {
         {"Level Data", "_", Row::LevelTreeButton, {}},
         {"Player Data", "_", Row::PlayerTreeButton, {}},
     }},
    {"Backups",
     {
         {"Backups", "_", Row::BackupsButton, {}},
     }},
};

}  // namespace

LevelTableViewController::LevelTableViewController(std::shared_ptr<TBKLevelDB> db)
    : LevelTableViewController(std::move(db), TBKPlayerEntry::localKey, true) {}

LevelTableViewController::LevelTableViewController(std::shared_ptr<TBKLevelDB> db, std::string key)
    : LevelTableViewController(std::move(db), std::move(key), false) {}

LevelTableViewController::LevelTableViewController(std::shared_ptr<TBKLevelDB> db, std::string key, bool local)
    : _db(std::move(db)), playerKey(std::move(key)) {
  level = _db->levelData();
  try {
    player = _db->playerForKey(playerKey);
  } catch (const TBKException& error) {
    // No player record yet (the world was never played) or a damaged one:
    // the level can still be edited, and the armor and inventory rows say
    // why they open nothing. Anything else (the game holding the world, a
    // refused file) stops the screen from opening, as does another player's
    // record that cannot be read: that screen would show nothing.
    if (error.kind() != TBKException::Kind::Format || !local) throw;
  }
  sections = local ? levelSections : std::vector<std::string>{"Player", "Tags"};
  definitions["Player"] = playerSettingRows(*level, player.get());
  // Another player's screen has that player's tags; the level's are the
  // world screen's.
  if (!local) definitions["Tags"] = {{"Player Data", "_", Row::PlayerTreeButton, {}}};
  if (local) {
    definitions.insert(levelDefinitions.begin(), levelDefinitions.end());
    definitions["General"][1].names = gamemode::worldChoices(*level, player.get());
    // The way to the other players, for a world that has any. A database
    // whose records cannot be listed opens without it; the rows above
    // still work.
    try {
      if (gamemode::isTodaysLevel(*level) && _db->hasDatabase() && _db->players().size() > 1) {
        definitions["Player"].push_back({"Players", "_", Row::PlayersButton, {}});
      }
    } catch (const TBKException&) {}
  }
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(0, 0, 320, 480), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorColor(ui::Color::clear());
  tableView_->registerClass<LevelTableViewCell>("cell");
}

LevelTableViewController::~LevelTableViewController() = default;

void LevelTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<LevelTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);
}

void LevelTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  // Laid out once, with the view's size at the first appearance; before
  // the rows are filled, so that they are filled at their final width.
  if (!background_) layOut();
  level = _db->levelData();
  // The same tree as before unless a restore has read the record again.
  try {
    player = _db->playerForKey(playerKey);
  } catch (const TBKException&) {
    player = nullptr;
  }
  tableView_->reloadData();
}

void LevelTableViewController::layOut() {
  auto root = view();
  background_ = addTableScreenBackground(*root);
  double W = root->bounds().width();
  double H = root->bounds().height();
  tableView_->setFrame(ui::Rect(0, 0, W, H));
}

void LevelTableViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void LevelTableViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
}

const LevelSettingDefinition& LevelTableViewController::definitionAt(const ui::IndexPath& indexPath) const {
  return definitions.at(sections.at(size_t(indexPath.section))).at(size_t(indexPath.row));
}

long LevelTableViewController::numberOfRowsInSection(ui::TableView&, long section) {
  return long(definitions.at(sections.at(size_t(section))).size());
}

std::shared_ptr<ui::TableViewCell> LevelTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                   const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<LevelTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  cell->makeReadyWithDefinition(definitionAt(indexPath), _db, level, player, playerKey);
  return cell;
}

std::shared_ptr<ui::View> LevelTableViewController::viewForHeaderInSection(ui::TableView& tableView, long section) {
  return makeSectionHeaderView(sections.at(size_t(section)), tableView.frame().width());
}
