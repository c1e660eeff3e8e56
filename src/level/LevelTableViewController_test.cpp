#include "level/LevelTableViewController.h"

#include "MenuOnScreen.h"
#include "WorldReader.h"
#include "equipment/ArmorViewController.h"
#include "equipment/InventoryViewController.h"

namespace fs = std::filesystem;

namespace {

// Rows of the demo game's world list, sorted by folder.
constexpr long lakesideSurvival = 2, oldCaveWorld = 3, modernSurvival = 4;

struct LevelOnScreen : MenuOnScreen {
  std::shared_ptr<LevelTableViewController> screen;

  // `prepare` changes the game's copy before any screen reads it.
  explicit LevelOnScreen(long worldRow, const std::function<void(MenuOnScreen&)>& prepare = nullptr) {
    if (prepare) prepare(*this);
    openWorldList();
    screen = chooseWorld(worldRow);
    EXPECT_NE(screen, nullptr);
  }

  template <class Widget>
  std::shared_ptr<Widget> widget(long section, long row) {
    return MenuOnScreen::widget<Widget>(*screen->tableView(), {section, row});
  }
  void typeInto(long section, long row, const std::string& text) {
    MenuOnScreen::typeInto(widget<BVLTextField>(section, row), text);
  }
  // Taps segment `index` of the control of row (section, row): the world's game type unless said.
  void chooseSegment(long index, long section = 1, long row = 1) {
    tapSegment(widget<BVLSegmentedControl>(section, row), index);
  }
  void tapButton(long row) { tap(*widget<BVLButton>(0, row)); }
};

// Returning to the level screen reads the level again but keeps the player
// tree; each choice of the world's row opens the world anew, so the list
// and the level screen show a rename.
TEST(LevelScreen, ReturningReadsTheLevelAgainAndARenamedWorldShowsItsNewNameInTheList) {
  LevelOnScreen s(lakesideSurvival);
  auto world = s.world("Lakeside Survival");
  auto player = s.screen->player;
  ASSERT_NE(player, nullptr);
  s.tapButton(1);
  ASSERT_NE(s.top<InventoryViewController>(), nullptr);
  {
    // The level changes on disk while the inventory shows.
    TBKLevelDB other(world.string(), "Lakeside Survival", "");
    auto changed = other.levelData();
    changed->setValueForKey(TBKNumberTag::intTag("SpawnX", 1234));
    other.setLevelData(changed);
  }
  s.back();
  EXPECT_EQ(s.widget<BVLTextField>(2, 0)->text(), "1234");
  EXPECT_EQ(s.screen->player, player) << "the player tree is read once";
  s.tapButton(0);
  EXPECT_NE(s.top<ArmorViewController>(), nullptr);
  s.back();

  const std::string before = worldreader::readFile(world / "level.dat");
  s.typeInto(1, 0, "Renamed Lake");
  EXPECT_EQ(worldreader::readFile(world / "level.dat"),
            worldreader::withPayload(before, "LevelName", worldreader::littleEndian(12, 2) + "Renamed Lake", true));
  auto first = s.screen;
  s.back();
  EXPECT_EQ(s.worldRow(lakesideSurvival)->worldNameLabel->text(), "Renamed Lake");
  EXPECT_FALSE(s.worldRow(lakesideSurvival)->isSelected());

  s.screen = s.chooseWorld(lakesideSurvival);
  ASSERT_NE(s.screen, nullptr);
  EXPECT_NE(s.screen->_db, first->_db) << "a database object of its own";
  s.typeInto(1, 0, "");
  EXPECT_EQ(worldreader::readFile(world / "level.dat"),
            worldreader::withPayload(before, "LevelName", worldreader::littleEndian(0, 2), true));
}

// A world that was never played has no player record. Its level still
// opens and edits; the armor and inventory explain why they open nothing.
// (A write the disk refuses is RefusedWrites'.)
TEST(LevelFaults, AWorldWithoutAPlayerEditsItsLevelAndWhatCannotBeDoneIsExplained) {
  LevelOnScreen s(oldCaveWorld, [](MenuOnScreen& game) {
    TBKLevelDB db(game.world("Old Cave World").string(), "Old Cave World", "");
    auto level = db.levelData();
    level->removeObjectForKey("Player");
    db.setLevelData(level);
  });
  auto world = s.world("Old Cave World");
  ASSERT_NE(s.screen, nullptr) << "the level screen opens";
  EXPECT_EQ(s.screen->player, nullptr);
  for (long button : {0L, 1L}) {
    s.tapButton(button);
    EXPECT_EQ(s.navigation->topViewController(), s.screen) << "nothing opens";
    EXPECT_NE(s.dismissAlert().find("has no player yet"), std::string::npos);
  }
  s.chooseSegment(1);
  s.typeInto(2, 1, "77");
  auto level = worldreader::readLevelDat(world / "level.dat").root;
  EXPECT_EQ(level.number("GameType"), 1);
  EXPECT_EQ(level.number("SpawnY"), 77);
  EXPECT_FALSE(level.has("Player")) << "no player invented";
  EXPECT_EQ(s.shownAlert(), nullptr);
}

// Today's player may have a mode of their own, which the game puts them in
// whatever the world's game type says (the abilities are LevelRecord's): each
// row writes its own mode, and the world's row says which applies.
TEST(LevelModernWorld, ThePlayersOwnModeOverridesTheWorldsUntilItIsDefault) {
  LevelOnScreen s(modernSurvival, [](MenuOnScreen&) {
    auto db = TBKLevelDB::dbForWorldNamed("bW9kZXJuAA==");
    auto player = db->player();
    player->setValueForKey(TBKNumberTag::intTag("PlayerGameMode", 0));
    db->setPlayer(player);
  });
  auto world = s.world("bW9kZXJuAA==");
  EXPECT_EQ(s.widget<BVLSegmentedControl>(1, 1)->segments().size(), 4u) << "Spectator too";
  EXPECT_EQ(s.widget<BVLSegmentedControl>(0, 0)->selectedSegmentIndex(), 1);

  // Player Mode is row (0, 0), the world's Game Type row (1, 1).
  struct Step {
    long section, row, segment;
    int64_t gameType, playerMode;
    const char* note;  // under the world's game type
  };
  const Step steps[] = {
      {1, 1, 1, 1, 0, "Player Mode Survival applies"},  // the world goes creative, the player stays
      {0, 0, 0, 1, 5, ""},                              // Default: the world's creative applies
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::to_string(step.section) + "/" + std::to_string(step.segment));
    s.chooseSegment(step.segment, step.section, step.row);
    EXPECT_EQ(worldreader::readLevelDat(world / "level.dat").root.number("GameType"), step.gameType);
    EXPECT_EQ(worldreader::readPlayer(world).number("PlayerGameMode"), step.playerMode);
    auto worldRow = s.row<LevelTableViewCell>(*s.screen->tableView(), {1, 1});
    EXPECT_EQ(std::static_pointer_cast<BVLSegmentedControl>(worldRow->settingView)->selectedSegmentIndex(),
              step.gameType)
        << "the world's row shows its own game type";
    EXPECT_EQ(worldRow->noteLabel ? worldRow->noteLabel->text() : "", step.note);
  }
}

}  // namespace
