#include "level/LevelTableViewController.h"

#include "app/LaunchRequest.h"
#include "app/ProgressAlert.h"
#include "app/RefusalAlert.h"
#include "app/SectionHeaderView.h"
#include "app/TableScreenBackground.h"
#include "backups/BackupsTableViewController.h"
#include "containers/ContainersTableViewController.h"
#include "containers/FindItemTableViewController.h"
#include "creatures/CreaturesTableViewController.h"
#include "equipment/ArmorViewController.h"
#include "equipment/InventoryViewController.h"
#include "equipment/ItemSelectorTableViewController.h"
#include "equipment/ItemViewController.h"
#include "level/PlayerSettingRows.h"
#include "level/PlayersTableViewController.h"
#include "level/StructureImportViewController.h"
#include "map/MapViewController.h"
#include "records/EquipmentRecord.h"
#include "records/GameMode.h"
#include "records/WholeNumber.h"
#include "tree/TagTreeViewController.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"
#include "worlds/ChoiceTableViewController.h"

namespace {

using Kind = LevelRowKind;

// The "Player" rows come from playerSettingRows, the game type's segments
// from the world (today's worlds have more modes).
const std::vector<LevelSection> levelSections = {
    {"Player", {}},
    {"General",
     {
         {.name = "Level Name", .setting = "LevelName", .kind = Kind::Text},
         {.name = "Game Type", .setting = "GameType", .kind = Kind::Choice, .names = {"Survival", "Creative"}},
     }},
    {"Spawn",
     {
         {.name = "Spawn X", .setting = "SpawnX", .kind = Kind::WholeNumber},
         {.name = "Spawn Y", .setting = "SpawnY", .kind = Kind::WholeNumber},
         {.name = "Spawn Z", .setting = "SpawnZ", .kind = Kind::WholeNumber},
     }},
    // Every tag of the level and of the player, for what the rows above
    // do not show.
    {"Tags",
     {
         {.name = "Level Data", .kind = Kind::LevelTreeButton},
         {.name = "Player Data", .kind = Kind::PlayerTreeButton},
     }},
    {"Backups", {{.name = "Backups", .kind = Kind::BackupsButton}}},
    {"Share",
     {{.name = "World File", .kind = Kind::ExportButton}, {.name = "Structures", .kind = Kind::StructuresButton}}},
    // What lies in the world itself; containers and creatures join the map
    // in worlds with a database (the early format keeps neither there).
    {"World", {{.name = "Map", .kind = Kind::MapButton}}},
};

bool isModeSetting(const std::string& setting) { return setting == "GameType" || setting == "PlayerGameMode"; }

// What a segment stores: on the two game-mode rows the mode its title names
// (the segments of today's worlds do not run in the modes' numeric order),
// on any other row its position.
int32_t segmentValue(const LevelSettingDefinition& definition, long position) {
  if (isModeSetting(definition.setting) && position >= 0 && size_t(position) < definition.names.size()) {
    int32_t mode = gamemode::valueNamed(definition.names[size_t(position)]);
    if (mode >= 0) return mode;
  }
  return int32_t(position);
}

// The segment that shows `value`; none when no segment stores it.
long segmentShowing(const LevelSettingDefinition& definition, int32_t value) {
  if (!isModeSetting(definition.setting)) return value;
  for (size_t i = 0; i < definition.names.size(); ++i) {
    if (gamemode::valueNamed(definition.names[i]) == value) return long(i);
  }
  return BVLSegmentedControl::noSegment;
}

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
  // Another player's screen has that player's tags; the level's are the
  // world screen's.
  sections = local ? levelSections
                   : std::vector<LevelSection>{{"Player", {}},
                                               {"Tags", {{.name = "Player Data", .kind = Kind::PlayerTreeButton}}}};
  sections[0].rows = playerSettingRows(*level, player.get());
  if (local) {
    sections[1].rows[1].names = gamemode::worldChoices(*level, player.get());
    // The way to the other players, for a world that has any. A database
    // whose records cannot be listed opens without it; the rows above
    // still work.
    try {
      if (gamemode::isTodaysLevel(*level) && _db->hasDatabase() && _db->players().size() > 1) {
        sections[0].rows.push_back({.name = "Players", .kind = Kind::PlayersButton});
      }
    } catch (const TBKException&) {}
    if (_db->hasDatabase()) {
      auto& world = sections.back().rows;
      world.push_back({.name = "Containers", .kind = Kind::ContainersButton});
      world.push_back({.name = "Creatures", .kind = Kind::CreaturesButton});
      world.push_back({.name = "Find an Item", .kind = Kind::FindItemButton});
    }
  }
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(0, 0, 320, 480), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorColor(ui::Color::clear());
  tableView_->registerClass<LevelTableViewCell>("cell");
}

LevelTableViewController::~LevelTableViewController() {
  if (exporting_) exporting_->cancel();
}

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
  if (exporting_) exporting_->cancel();
}

long LevelTableViewController::numberOfRowsInSection(ui::TableView&, long section) {
  return long(sections.at(size_t(section)).rows.size());
}

std::shared_ptr<ui::TableViewCell> LevelTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                   const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<LevelTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  const auto& definition = sections.at(size_t(indexPath.section)).rows.at(size_t(indexPath.row));
  cell->makeReadyWithDefinition(definition, bindingFor(definition));
  return cell;
}

std::shared_ptr<ui::View> LevelTableViewController::viewForHeaderInSection(ui::TableView& tableView, long section) {
  return makeSectionHeaderView(sections.at(size_t(section)).title, tableView.frame().width());
}

// Each widget writes into the trees of this preparation, even after the
// screen has read fresh ones.
LevelRowBinding LevelTableViewController::bindingFor(const LevelSettingDefinition& definition) {
  std::weak_ptr<LevelTableViewController> weak = std::static_pointer_cast<LevelTableViewController>(shared_from_this());
  auto record = std::make_shared<LevelRecord>(LevelRecord::read(_db, level, player, playerKey));
  LevelRowBinding binding;
  switch (definition.kind) {
    case Kind::Choice:
      binding.segment = segmentShowing(definition, level->numberForKey(definition.setting).intValue());
      if (definition.setting == "GameType" && player && gamemode::playerMode(*player) != gamemode::followsWorld) {
        binding.note = "Player Mode " + gamemode::nameOf(gamemode::playerMode(*player)) + " applies";
      }
      binding.choose = [weak, record, definition](long segment) {
        if (auto self = weak.lock()) {
          self->written(record->setLevelNumber(definition.setting, segmentValue(definition, segment)), false);
        }
      };
      break;
    case Kind::WholeNumber:
      binding.text = std::to_string(level->numberForKey(definition.setting).intValue());
      binding.type = [weak, record, definition](const std::string& text) {
        if (auto self = weak.lock()) {
          self->written(record->setLevelNumber(definition.setting, WholeNumberFromText<int32_t>(text)), false);
        }
      };
      break;
    case Kind::Text:
      binding.text = level->stringForKey(definition.setting);
      binding.type = [weak, record, definition](const std::string& text) {
        if (auto self = weak.lock()) self->written(record->setLevelText(definition.setting, text), false);
      };
      break;
    case Kind::PlayerChoice:
    case Kind::PlayerWholeNumber: {
      if (!player) break;
      bool choice = definition.kind == Kind::PlayerChoice;
      int32_t value = definition.setting == "PlayerGameMode" ? gamemode::playerMode(*player)
                                                             : player->numberForKey(definition.setting).intValue();
      binding.segment = segmentShowing(definition, value);
      binding.text = std::to_string(value);
      auto write = [weak, record, definition](int32_t value) {
        // A player's mode changes the note on the game type row.
        if (auto self = weak.lock()) {
          self->written(record->setPlayerNumber(definition.setting, value), definition.setting == "PlayerGameMode");
        }
      };
      if (choice) binding.choose = [write, definition](long segment) { write(segmentValue(definition, segment)); };
      if (!choice) binding.type = [write](const std::string& text) { write(WholeNumberFromText<int32_t>(text)); };
      break;
    }
    default:
      binding.open = [weak, kind = definition.kind] {
        if (auto self = weak.lock()) self->open(kind);
      };
  }
  return binding;
}

void LevelTableViewController::written(const Outcome& outcome, bool reloadAnyway) {
  showRefusal(outcome);
  if (!outcome && !reloadAnyway) return;
  std::weak_ptr<LevelTableViewController> weak = std::static_pointer_cast<LevelTableViewController>(shared_from_this());
  ui::Application::post([weak] {
    if (auto self = weak.lock()) self->tableView_->reloadData();
  });
}

std::shared_ptr<ui::ViewController> LevelTableViewController::itemPicker() {
  std::weak_ptr<LevelTableViewController> weak = std::static_pointer_cast<LevelTableViewController>(shared_from_this());
  auto find = [weak](ItemIdentity item) {
    // The picker closes itself once this returns: the results follow it.
    ui::Application::post([weak, item] {
      auto self = weak.lock();
      auto navigation = self ? self->navigationController() : nullptr;
      if (!navigation) return;
      navigation->pushViewController(
          std::make_shared<FindItemTableViewController>(self->_db, item, self->player, self->playerKey), true);
    });
  };
  if (gamemode::isTodaysLevel(*level)) {
    return std::make_shared<ItemSelectorTableViewController>(ItemSelectorTableViewController::NamedCallback(
        [find](const std::string& identifier, uint16_t) { find(ItemIdentity::named(identifier, 0)); }));
  }
  return std::make_shared<ItemSelectorTableViewController>(
      [find](uint16_t id, uint16_t) { find(ItemIdentity::numbered(id, 0)); });
}

std::shared_ptr<TBKCompoundTag> LevelTableViewController::playerOrExplain() {
  if (player) return player;
  try {
    return _db->playerForKey(playerKey);
  } catch (const TBKException& error) {
    showError(error.reason());
    return nullptr;
  }
}

void LevelTableViewController::open(LevelRowKind kind) {
  auto navigation = navigationController();
  if (!navigation) return;
  std::shared_ptr<ui::ViewController> screen;
  if (kind == Kind::PlayersButton) {
    screen = std::make_shared<PlayersTableViewController>(_db);
  } else if (kind == Kind::ExportButton) {
    return exportWorld();
  } else if (kind == Kind::StructuresButton) {
    screen = structuresScreen();
  } else if (kind == Kind::ContainersButton) {
    std::shared_ptr<TBKCompoundTag> player;
    try {
      player = _db->playerForKey(playerKey);
    } catch (const TBKException&) {
      // Without a player the list is ordered from the world's origin.
    }
    screen = std::make_shared<ContainersTableViewController>(_db, player);
  } else if (kind == Kind::CreaturesButton) {
    screen = std::make_shared<CreaturesTableViewController>(_db);
  } else if (kind == Kind::FindItemButton) {
    screen = itemPicker();
  } else if (kind == Kind::BackupsButton) {
    screen = BackupsTableViewController::forWorld(_db);
  } else if (kind == Kind::MapButton) {
    if (!_db->hasDatabase())
      return showError(
          "This world is of the format before the game kept its land in a database: "
          "the map cannot draw it.");
    try {
      screen = std::make_shared<MapViewController>(_db);
    } catch (const TBKException& error) {
      return showError(error.reason());
    }
  } else if (kind == Kind::LevelTreeButton) {
    try {
      screen = TagTreeViewController::forLevel(_db);
    } catch (const TBKException& error) {
      return showError(error.reason());
    }
  } else if (auto tree = playerOrExplain()) {
    auto record = std::make_shared<EquipmentRecord>(_db, tree, playerKey);
    auto offhand = tree->listForKey("Offhand");
    switch (kind) {
      case Kind::InventoryButton:
        screen = std::make_shared<InventoryViewController>(record);
        break;
      case Kind::ArmorButton:
        screen = std::make_shared<ArmorViewController>(record);
        break;
      case Kind::EnderChestButton:
        screen = std::make_shared<InventoryViewController>(record, "EnderChestInventory");
        break;
      case Kind::OffhandButton:
        // The one entry of the offhand, in the item editor.
        if (offhand && offhand->count() > 0) screen = std::make_shared<ItemViewController>(record, offhand, 0);
        break;
      case Kind::PlayerTreeButton:
        screen = TagTreeViewController::forPlayer(_db, playerKey, tree);
        break;
      default:
        break;
    }
  }
  if (screen) navigation->pushViewController(screen, true);
}

void LevelTableViewController::exportWorld() {
  std::string folder = LaunchRequest::current().exportFolder;
  if (folder.empty()) folder = TBKFileSource::documentsFolder();
  std::string name = level->stringForKey("LevelName");
  struct Result {
    Outcome outcome;
    std::optional<std::string> archive;
  };
  auto result = std::make_shared<Result>();
  std::weak_ptr<LevelTableViewController> weak = std::static_pointer_cast<LevelTableViewController>(shared_from_this());
  exporting_ = ProgressAlert::start(
      "Exporting", name,
      [worldFolder = _db->worldFolder(), name, folder, result](const ui::BackgroundTask::Progress& progress) {
        result->outcome =
            attempt([&] { result->archive = TBKWorldArchive::exportWorld(worldFolder, name, folder, progress); });
      },
      [weak, result, folder] {
        if (auto self = weak.lock()) self->exporting_.reset();
        showRefusal(result->outcome);
        if (!result->outcome && result->archive) {
          showNotice("Exported", "Saved as \"" + result->archive->substr(result->archive->rfind('/') + 1) + "\" in " +
                                     folder + ".");
        }
      });
}

std::shared_ptr<ui::ViewController> LevelTableViewController::structuresScreen() {
  auto db = _db;
  // The first row imports; each other row's value is its structure's
  // record key, which is never empty.
  auto list = [db] {
    std::vector<ChoiceTableViewController::Choice> choices{{"Import...", "From a .mcstructure file", ""}};
    Outcome unread = attempt([&] {
      for (auto& name : TBKStructures::names(*db)) {
        choices.push_back({name, TBKStructures::fileName(name), std::string(TBKStructures::keyPrefix) + name});
      }
    });
    if (unread) showError(unread->reason);
    return choices;
  };
  std::weak_ptr<LevelTableViewController> weak = std::static_pointer_cast<LevelTableViewController>(shared_from_this());
  auto chosen = [db, weak](const ChoiceTableViewController::Choice& choice) {
    if (choice.value.empty()) {
      auto self = weak.lock();
      auto navigation = self ? self->navigationController() : nullptr;
      if (!navigation) return;
      std::weak_ptr<ui::NavigationController> weakNavigation = navigation;
      navigation->pushViewController(ChoiceTableViewController::forStructureFiles(
                                         [db, weakNavigation](const ChoiceTableViewController::Choice& file) {
                                           if (auto navigation = weakNavigation.lock())
                                             navigation->pushViewController(
                                                 std::make_shared<StructureImportViewController>(db, file.value), true);
                                         }),
                                     true);
      return;
    }
    std::string name = choice.value.substr(TBKStructures::keyPrefix.size());
    std::string folder = LaunchRequest::current().exportFolder;
    if (folder.empty()) folder = TBKFileSource::documentsFolder();
    std::string file = TBKStructures::fileName(name);
    Outcome outcome = attempt([&] { TBKStructures::exportStructure(*db, name, folder + "/" + file, false); });
    showRefusal(outcome);
    if (!outcome) showNotice("Exported", "Saved as \"" + file + "\" in " + folder + ".");
  };
  return std::make_shared<ChoiceTableViewController>("Structures", list, "", chosen);
}
