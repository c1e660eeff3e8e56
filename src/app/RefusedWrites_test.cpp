// Every screen that writes, with the disk refusing to keep what it is given:
// the program goes on, the screen says why, shows what is stored, and not a
// byte of the game's files changes. Each case runs in a child process, since
// the refusal cannot be taken back; the files are read by the parent with the
// tests' own reader.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "CreaturesOnScreen.h"
#include "RefusedFlushes.h"
#include "StructureBytes.h"
#include "backups/BackupsTableViewController.h"
#include "containers/ContainerTableViewCell.h"
#include "containers/ContainersTableViewController.h"
#include "equipment/ArmorViewController.h"
#include "equipment/EnchantmentsViewController.h"
#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/InventoryViewController.h"
#include "equipment/ItemViewController.h"
#include "level/StructureImportViewController.h"
#include "map/MapViewController.h"
#include "options/OptionsTableViewController.h"
#include "tree/TagTreeViewController.h"
#include "worlds/ChoiceTableViewController.h"

namespace fs = std::filesystem;

namespace {

const char* const modernFolder = "bW9kZXJuAA==";  // "Modern Survival"
constexpr long swordSlot = 30, maceSlot = 31, boxSlot = 32;

// The change a case makes once the disk refuses, and what its screen shows
// of the value it changes.
struct Step {
  std::function<void()> change;
  std::function<std::string()> shown;
};

struct Game : CreaturesOnScreen {
  template <class Widget>
  std::shared_ptr<Widget> rowWidget(const std::string& title) {
    auto cell = rowTitled(title);
    return cell ? std::dynamic_pointer_cast<Widget>(cell->settingView) : nullptr;
  }
  Step typing(const std::string& title, const std::string& text) {
    return {[this, title, text] { typeInto(rowWidget<BVLTextField>(title), text); },
            [this, title] { return rowWidget<BVLTextField>(title)->text(); }};
  }
  Step choosing(const std::string& title, long segment) {
    return {[this, title, segment] { tapSegment(rowWidget<BVLSegmentedControl>(title), segment); },
            [this, title] { return std::to_string(rowWidget<BVLSegmentedControl>(title)->selectedSegmentIndex()); }};
  }
  // The grid's items, in order.
  static std::string items(InventoryViewController& grid) {
    std::string shown;
    for (long cell = 0; cell < grid.collectionView()->numberOfItemsInSection(0); ++cell) {
      auto view = gridCell(grid, cell) ? gridCell(grid, cell)->itemView() : nullptr;
      shown += (view ? view->identifier() : std::string("-")) + " ";
    }
    return shown;
  }
  Step adding(const std::string& title) {
    tapEdit(title);
    auto grid = top<InventoryViewController>();
    return {[this, grid] { grid->plusButton()->trigger(), driver.runUntilIdle(); }, [grid] { return items(*grid); }};
  }
  // The user's Documents, where exports go and imports are looked for.
  fs::path documents() {
    fs::path home = game.sandbox().parent_path() / "home";
    fs::create_directories(home / "Documents");
    ::setenv("HOME", home.c_str(), 1);
    return home / "Documents";
  }
  std::string topTitle() const { return navigation->topViewController()->title(); }
  // The list in editing: a tap on a world asks to copy or delete it.
  std::shared_ptr<WorldListTableViewController> editWorlds() {
    auto list = openWorldList();
    list->rightBarButtonItem()->trigger();
    driver.runUntilIdle();
    return list;
  }
  Step onWorld(const std::string& folder, std::vector<long> answers) {
    auto list = editWorlds();
    auto names = TBKLevelDB::worlds();
    long row = std::find(names.begin(), names.end(), folder) - names.begin();
    return {[this, row, answers] {
              tap(*worldRow(row));
              for (long answer : answers) tap(*shownAlert()->buttonAtIndex(answer)), driver.runUntilIdle(30);
            },
            [list] { return std::to_string(list->tableView()->numberOfRowsInSection(0)); }};
  }
  std::shared_ptr<ItemViewController> item(long slot) {
    tapEdit("Inventory");
    tap(*gridCell(*top<InventoryViewController>(), slot));
    return top<ItemViewController>();
  }
};

struct Refused {
  const char* what;
  std::function<Step(Game&)> open;  // from the level screen of "Modern Survival", or from the menu
  bool fromMenu = false;
};

const Refused cases[] = {
    {"level name", [](Game& g) { return g.typing("Level Name", "Renamed"); }},
    {"game type", [](Game& g) { return g.choosing("Game Type", 1); }},
    {"spawn", [](Game& g) { return g.typing("Spawn X", "99"); }},
    {"player mode", [](Game& g) { return g.choosing("Player Mode", 2); }},
    {"experience", [](Game& g) { return g.typing("Experience Level", "30"); }},
    {"item count",
     [](Game& g) {
       auto editor = g.item(swordSlot);
       return Step{[&g, editor] { g.typeInto(editor->countField, "5"); },
                   [editor] { return editor->countField->text(); }};
     }},
    {"repair",
     [](Game& g) {
       auto editor = g.item(maceSlot);
       return Step{[&g, editor] { g.tap(*editor->damageNoneButton); },
                   [editor] { return editor->damageField->text(); }};
     }},
    {"enchantment level",
     [](Game& g) {
       g.tap(*g.item(swordSlot)->slotButton);
       auto screen = g.top<EnchantmentsViewController>();
       return Step{[&g, screen] { g.typeInto(screen->levelFields.at(0), "2"); },
                   [screen] { return screen->levelFields.at(0)->text(); }};
     }},
    {"box items",
     [](Game& g) {
       g.tap(*g.item(boxSlot)->slotButton);
       auto box = g.top<InventoryViewController>();
       return Step{[&g, box] { box->plusButton()->trigger(), g.driver.runUntilIdle(); },
                   [box] { return Game::items(*box); }};
     }},
    {"inventory plus", [](Game& g) { return g.adding("Inventory"); }},
    {"container",
     [](Game& g) {
       g.tapEdit("Containers");
       auto list = g.top<ContainersTableViewController>();
       if (!list || !g.driver.runUntil([&] { return list->listed(); })) return Step{};
       g.tap(*g.row<ContainerTableViewCell>(*list->tableView(), {0, 0})->button);
       auto grid = g.top<InventoryViewController>();
       return Step{[&g, grid] { grid->plusButton()->trigger(), g.driver.runUntilIdle(); },
                   [grid] { return Game::items(*grid); }};
     }},
    {"ender chest", [](Game& g) { return g.adding("Ender Chest"); }},
    {"offhand",
     [](Game& g) {
       g.tapEdit("Offhand");
       auto editor = g.top<ItemViewController>();
       return Step{[&g, editor] { g.tap(*editor->countMaxButton); }, [editor] { return editor->countField->text(); }};
     }},
    {"armor",
     [](Game& g) {
       g.tapEdit("Armor");
       auto armor = g.top<ArmorViewController>();
       auto worn = armor->helmetView->image();
       return Step{[&g, armor] {
                     g.tap(*g.row(*armor->tableView, {1, 0}));
                   },
                   [armor, worn] { return samePicture(armor->helmetView->image(), worn) ? "as worn" : "changed"; }};
     }},
    {"tag tree",
     [](Game& g) {
       g.tapEdit("Level Data");
       auto tree = g.top<TagTreeViewController>();
       return Step{[&g, tree] { g.searchAndEdit(*tree->searchField(), "SpawnY", "123"); },
                   [tree] { return std::to_string(tree->tree()->numberForKey("SpawnY").intValue()); }};
     }},
    {"creature's name",
     [](Game& g) {
       g.openCreatures();
       g.tapRow("Biscuit");
       auto name = [&g] { return std::dynamic_pointer_cast<BVLTextField>(g.widgetOf("Name")); };
       return Step{[&g, name] { g.typeInto(name(), "Rex"); }, [name] { return name()->text(); }};
     }},
    {"move the player from the map",
     [](Game& g) {
       g.tapEdit("Map");
       auto map = g.top<MapViewController>();
       auto view = map->mapView();
       g.driver.runUntil([view] { return view->hasPicture(-4, 7); });
       g.tap(*view);  // the middle: the player's block
       return Step{[&g, map] { g.tap(*map->movePlayerButton()); },
                   [view] {
                     for (const MapMarker& marker : view->markers()) {
                       if (marker.kind == MapMarker::Kind::Player)
                         return std::to_string(marker.x) + std::to_string(marker.z);
                     }
                     return std::string("no player");
                   }};
     }},
    {"structure import",
     [](Game& g) {
       std::ofstream(g.documents() / "hut.mcstructure", std::ios::binary) << tbktest::structureBytes();
       g.tapEdit("Structures");
       for (int list = 0; list < 2; ++list) g.tap(*g.row(*g.top<ChoiceTableViewController>()->tableView(), {0, 0}));
       auto screen = g.top<StructureImportViewController>();
       return Step{[&g, screen] { g.tap(*screen->importButton()); }, [&g] { return g.topTitle(); }};
     }},
    {"structure export",
     [](Game& g) {
       g.documents();
       TBKLevelDB::dbForWorldNamed(modernFolder)
           ->writeRecords({{"structuretemplate_mystructure:hut", tbktest::structureBytes()}});
       g.tapEdit("Structures");
       auto list = g.top<ChoiceTableViewController>();
       return Step{[&g, list] {
                     g.tap(*g.row(*list->tableView(), {0, 1}));
                   },
                   [list] { return std::to_string(list->choices().size()); }};
     }},
    {"world export",
     [](Game& g) {
       g.documents();
       return Step{[&g] { g.tapEdit("World File"), g.driver.runUntilIdle(30); }, [&g] { return g.topTitle(); }};
     }},
    {"world copy", [](Game& g) { return g.onWorld("Lakeside Survival", {1}); }, true},
    {"world delete",
     [](Game& g) {
       return g.onWorld("Lakeside Survival", {2, 1});
     },
     true},
    {"world import",
     [](Game& g) {
       TBKWorldArchive::exportWorld(g.world("Lakeside Survival").string(), "Lakeside Survival", g.documents().string());
       auto list = g.openWorldList();
       g.tap(*g.row(*list->tableView(), ui::IndexPath{1, 0}));
       auto archives = g.top<ChoiceTableViewController>();
       return Step{[&g, archives] {
                     g.tap(*g.row(*archives->tableView(), {0, 0})), g.driver.runUntilIdle(30);
                   },
                   [] { return std::to_string(TBKLevelDB::worlds().size()); }};
     },
     true},
    {"options",
     [](Game& g) {
       g.tap(*g.menu->optionsButton);
       auto options = g.top<OptionsTableViewController>();
       auto toggle = [&g, options] { return g.widget<BVLSwitch>(*options->tableView(), {0, 2}); };
       return Step{[&g, toggle] { g.tap(*toggle()); }, [toggle] { return std::to_string(toggle()->isOn()); }};
     },
     true},
    {"restore",
     [](Game& g) {
       // A change kept before the disk fails, so that there is a backup.
       g.typeInto(g.rowWidget<BVLTextField>("Spawn X"), "12");
       g.tapEdit("Backups");
       auto backups = g.top<BackupsTableViewController>();
       return Step{[&g, backups] {
                     g.tap(*g.row(*backups->tableView(), {0, 0}));
                     g.tap(*g.shownAlert()->buttonAtIndex(1));
                   },
                   [&g] { return g.top<BackupsTableViewController>() ? "the backups" : "another screen"; }};
     }},
};

// The child's side: opens the case's screen, tells the parent where the game
// is, waits for its go, makes the change with the disk refusing, and exits
// with the number of faults it saw.
[[noreturn]] void refuseInChild(const Refused& c, int toParent, int fromParent) {
  int faults = 0;
  auto fault = [&](const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", c.what, what.c_str());
    ++faults;
  };
  Game g;
  if (!c.fromMenu && !g.openWorld(modernFolder)) ::_exit(100);
  Step step = c.open(g);
  if (!step.change) ::_exit(100);
  std::string stored = step.shown();
  std::string sandbox = g.game.sandbox().string();
  char go = 0;
  if (::write(toParent, sandbox.data(), sandbox.size()) != ssize_t(sandbox.size())) ::_exit(101);
  ::close(toParent);
  if (::read(fromParent, &go, 1) != 1) ::_exit(102);
  refuseFlushes();
  step.change();
  g.driver.runUntilIdle();
  auto alert = g.shownAlert();
  if (!alert || alert->title() != "Not Written" || alert->message().empty()) fault("no refusal shown");
  if (alert) g.dismissAlert();
  g.driver.runUntilIdle();
  if (step.shown() != stored) fault("shows " + step.shown() + " where " + stored + " is stored");
  std::fflush(stderr);
  ::_exit(faults);  // the parent reads the game's files, then removes them
}

// Every world's files and records, the options and the user's home.
std::map<std::string, std::string> gameFiles(const fs::path& sandbox) {
  fs::path game = sandbox / "Documents/games/com.mojang";
  std::map<std::string, std::string> files;
  for (auto& world : fs::directory_iterator(game / "minecraftWorlds")) {
    for (auto& [name, bytes] : worldreader::snapshot(world.path()))
      files[world.path().filename().string() + "/" + name] = bytes;
  }
  files["options.txt"] = worldreader::readFile(game / "minecraftpe/options.txt");
  fs::path home = sandbox.parent_path() / "home";
  for (auto& entry : fs::exists(home) ? fs::recursive_directory_iterator(home) : fs::recursive_directory_iterator()) {
    files["home/" + fs::relative(entry.path(), home).string()] =
        entry.is_regular_file() ? worldreader::readFile(entry.path()) : "<folder>";
  }
  return files;
}

TEST(RefusedWrites, EveryScreenExplainsShowsWhatIsStoredAndChangesNothing) {
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.what);
    int toParent[2], fromParent[2];
    ASSERT_EQ(::pipe(toParent), 0);
    ASSERT_EQ(::pipe(fromParent), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(toParent[0]);
      ::close(fromParent[1]);
      refuseInChild(c, toParent[1], fromParent[0]);
    }
    ::close(toParent[1]);
    ::close(fromParent[0]);
    std::string sandbox;
    char buffer[512];
    for (ssize_t n; (n = ::read(toParent[0], buffer, sizeof buffer)) > 0;) sandbox.append(buffer, size_t(n));
    ::close(toParent[0]);
    std::map<std::string, std::string> before;
    if (!sandbox.empty()) {
      before = gameFiles(sandbox);
      EXPECT_EQ(::write(fromParent[1], "g", 1), 1);
    }
    ::close(fromParent[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_FALSE(sandbox.empty()) << "the screen did not open (status " << status << ")";
    EXPECT_TRUE(WIFEXITED(status)) << "the program ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "faults (see above); 2: no flush filter here";
    EXPECT_EQ(worldreader::describeDifference(before, gameFiles(sandbox)), "");
    fs::remove_all(fs::path(sandbox).parent_path());
  }
}

}  // namespace
