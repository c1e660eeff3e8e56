#include "backups/BackupsTableViewController.h"

#include <fstream>

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "WorldReader.h"
#include "backups/BackupTableViewCell.h"
#include "equipment/InventoryViewController.h"
#include "options/OptionsTableViewController.h"

namespace fs = std::filesystem;

namespace {

constexpr long lakesideSurvival = 2;

// The menu on screen, with the steps a player takes on the way to a
// restore; what the restores did is read with the tests' own reader.
struct BackupsOnScreen : MenuOnScreen {
  fs::path lakeside = world("Lakeside Survival");
  fs::path optionsFile = game.gameDataFolder() / "minecraftpe/options.txt";

  // Chooses the backup in `row` of the shown backups screen and confirms;
  // returns the confirmation's message, the row's own time in it as "<time>".
  std::string restore(long row) {
    auto screen = top<BackupsTableViewController>();
    if (!screen) return "no backups screen";
    tap(*screen->tableView()->cellForRowAtIndexPath(ui::IndexPath{0, row}));
    auto alert = shownAlert();
    if (!alert || alert->numberOfButtons() != 2) return "no confirmation";
    std::string message = alert->message();
    std::string time = BackupTableViewCell::localTime(screen->backups().at(size_t(row)));
    if (size_t at = message.find(time); at != std::string::npos) message.replace(at, time.size(), "<time>");
    tap(*alert->buttonAtIndex(1));
    return message;
  }
  std::string levelDat() { return worldreader::readFile(lakeside / "level.dat"); }
  std::string playerRecord() { return worldreader::readDatabaseValue(lakeside, "~local_player").value(); }
};

TEST(BackupsTableViewController, AWorldRestoredThroughTheScreensAndTheRestoreUndone) {
  BackupsOnScreen s;
  s.openWorldList();
  auto level = s.chooseWorld(lakesideSurvival);
  ASSERT_NE(level, nullptr);
  const std::string originalLevel = s.levelDat(), originalPlayer = s.playerRecord();
  size_t items = level->player->listForKey("Inventory")->count();
  s.typeInto(s.widget<BVLTextField>(*level->tableView(), {1, 0}), "Renamed");
  s.tap(*s.widget<BVLButton>(*level->tableView(), {0, 1}));
  ASSERT_NE(s.top<InventoryViewController>(), nullptr);
  s.top<InventoryViewController>()->plusButton()->trigger();
  s.back();
  const std::string renamedLevel = s.levelDat(), renamedPlayer = s.playerRecord();
  ASSERT_NE(renamedLevel, originalLevel);
  ASSERT_NE(renamedPlayer, originalPlayer);

  // Each restore first keeps the world as it was: the third step picks the
  // second newest backup, the renamed world, not the newest.
  struct Step {
    size_t listed;
    long row;
    std::string level, player, name;
    size_t inventory;
  } steps[] = {{1, 0, originalLevel, originalPlayer, "Lakeside Survival", items},
               {2, 0, renamedLevel, renamedPlayer, "Renamed", items + 1},
               {3, 1, renamedLevel, renamedPlayer, "Renamed", items + 1}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    s.tap(*s.widget<BVLButton>(*level->tableView(), {4, 0}));
    auto screen = s.top<BackupsTableViewController>();
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(screen->backups().size(), step.listed);
    EXPECT_EQ(s.restore(step.row), "Restore the world as it was at <time>?");
    EXPECT_EQ(s.top<LevelTableViewController>(), level);
    EXPECT_EQ(s.levelDat(), step.level) << "byte for byte";
    EXPECT_EQ(s.playerRecord(), step.player);
    EXPECT_EQ(s.widget<BVLTextField>(*level->tableView(), {1, 0})->text(), step.name) << "the screen shows it";
    EXPECT_EQ(level->player->listForKey("Inventory")->count(), step.inventory) << "the player is read again";
  }
}

TEST(BackupsTableViewController, TheOptionsFileRestoredThroughTheScreensAndTheRestoreUndone) {
  BackupsOnScreen s;
  std::string original = worldreader::readFile(s.optionsFile);
  s.tap(*s.menu->optionsButton);
  auto& options = *s.menu->optionsController;
  // Two changes in one run: one backup, made before the first.
  s.typeInto(s.widget<BVLTextField>(*options.tableView(), {0, 0}), "Alex");
  s.typeInto(s.widget<BVLTextField>(*options.tableView(), {0, 0}), "Renamed");
  std::string changed = worldreader::readFile(s.optionsFile);
  ASSERT_EQ(changed, "mp_username:Renamed\n" + original.substr(18));

  for (const auto& [listed, expected] : {std::pair<size_t, std::string>{1, original}, {2, changed}}) {
    auto row = options.tableView()->tableHeaderView();
    ASSERT_NE(row, nullptr);
    s.tap(*row->subviews().back());
    ASSERT_NE(s.top<BackupsTableViewController>(), nullptr);
    ASSERT_EQ(s.top<BackupsTableViewController>()->backups().size(), listed);
    EXPECT_EQ(s.restore(0), "Restore the options as they were at <time>?");
    EXPECT_EQ(worldreader::readFile(s.optionsFile), expected);
    auto field = s.widget<BVLTextField>(*options.tableView(), {0, 0});
    EXPECT_EQ(expected.rfind("mp_username:" + field->text() + "\n", 0), 0u) << field->text();
  }
}

TEST(BackupsTableViewController, ADamagedWorldIsOfferedItsNewestBackupAndThenOpens) {
  BackupsOnScreen s;
  {
    auto db = TBKLevelDB::dbForWorldNamed("Lakeside Survival");
    db->setLevelData(db->levelData());
  }
  for (const auto& world : {s.lakeside, s.world("Old Cave World")}) {
    for (const char* name : {"level.dat", "level.dat_old"}) {
      std::ofstream(world / name, std::ios::binary | std::ios::trunc) << "not a level";
    }
  }
  s.openWorldList();
  s.tap(*s.worldRow(lakesideSurvival));
  auto alert = s.shownAlert();
  ASSERT_NE(alert, nullptr);
  ASSERT_EQ(alert->numberOfButtons(), 2);
  EXPECT_EQ(alert->buttonTitleAtIndex(1), "Restore");
  EXPECT_NE(alert->message().find("level.dat is damaged"), std::string::npos) << alert->message();
  s.tap(*alert->buttonAtIndex(1));
  ASSERT_NE(s.top<LevelTableViewController>(), nullptr);
  EXPECT_EQ(worldreader::readLevelDat(s.lakeside / "level.dat").root.string("LevelName"), "Lakeside Survival");

  s.back();
  s.tap(*s.worldRow(3));
  alert = s.shownAlert();
  ASSERT_NE(alert, nullptr) << "a damaged world without a backup is only explained";
  EXPECT_EQ(alert->numberOfButtons(), 1);
}

}  // namespace
