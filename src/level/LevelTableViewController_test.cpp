#include "level/LevelTableViewController.h"

#include "MenuOnScreen.h"
#include "WorldReader.h"
#include "equipment/ArmorViewController.h"
#include "equipment/InventoryViewController.h"

namespace fs = std::filesystem;

namespace {

// Rows of the demo game's world list, sorted by folder.
constexpr long creativeFlatland = 1, lakesideSurvival = 2, oldCaveWorld = 3, modernSurvival = 4;

struct LevelOnScreen : MenuOnScreen {
  std::shared_ptr<LevelTableViewController> screen;

  // `prepare` changes the game's copy before any screen reads it.
  explicit LevelOnScreen(long worldRow, const std::function<void(MenuOnScreen&)>& prepare = nullptr) {
    if (prepare) prepare(*this);
    openWorldList();
    screen = chooseWorld(worldRow);
    EXPECT_NE(screen, nullptr);
  }

  std::shared_ptr<LevelTableViewCell> row(long section, long row) {
    auto table = screen->tableView();
    // Clear of the pinned section header too, so a tap reaches the row.
    ui::Rect rect = table->rectForRowAtIndexPath(ui::IndexPath{section, row});
    table->scrollRectToVisible(ui::Rect(rect.x(), rect.y() - 26, rect.width(), rect.height() + 26), false);
    driver.runUntilIdle();
    return std::dynamic_pointer_cast<LevelTableViewCell>(table->cellForRowAtIndexPath(ui::IndexPath{section, row}));
  }
  template <class Widget>
  std::shared_ptr<Widget> widget(long section, long row) {
    auto cell = this->row(section, row);
    return cell ? std::dynamic_pointer_cast<Widget>(cell->settingView) : nullptr;
  }

  // Selects the field's text by keyboard and types over it.
  void typeInto(long section, long row, const std::string& text) {
    auto field = widget<BVLTextField>(section, row);
    ASSERT_NE(field, nullptr);
    driver.tap(*field);
    driver.pressKeys(*window, "Ctrl+A");
    if (text.empty()) driver.pressKeys(*window, "Backspace");
    driver.type(*window, text);
    driver.runUntilIdle();
  }
  void chooseSegment(long index) {
    auto control = widget<BVLSegmentedControl>(1, 1);
    ASSERT_NE(control, nullptr);
    ui::Rect segment = control->segmentFrames()[size_t(index)];
    tapAt(*control, ui::Point{segment.x() + segment.width() / 2, segment.y() + segment.height() / 2});
    driver.runUntilIdle();
  }
  void tapButton(long row) {
    auto button = widget<BVLButton>(0, row);
    ASSERT_NE(button, nullptr);
    driver.tap(*button);
    driver.runUntilIdle();
  }
  void dismissAlert() {
    if (auto alert = shownAlert()) driver.tap(*alert->buttonAtIndex(0));
    driver.runUntilIdle();
  }
};

TestTag& at(TestTag& tag, const std::string& path) {
  const TestTag* found = tag.find(path);
  if (!found) throw std::runtime_error("no " + path);
  return const_cast<TestTag&>(*found);
}

TestTag numberTag(TestTag::Type type, const std::string& name, int64_t value) {
  TestTag tag;
  tag.type = type;
  tag.name = name;
  tag.integer = value;
  return tag;
}

void expectSameTree(const TestTag& a, const TestTag& b, const std::string& where = "") {
  std::string here = where + "/" + a.name;
  EXPECT_EQ(a.type, b.type) << here;
  EXPECT_EQ(a.name, b.name) << here;
  EXPECT_EQ(a.integer, b.integer) << here;
  EXPECT_EQ(a.text, b.text) << here;
  EXPECT_EQ(a.numbers, b.numbers) << here;
  EXPECT_TRUE(a.floating == b.floating || (a.floating != a.floating && b.floating != b.floating)) << here;
  ASSERT_EQ(a.children.size(), b.children.size()) << here;
  for (size_t i = 0; i < a.children.size(); ++i) expectSameTree(a.children[i], b.children[i], here);
}

TEST(LevelScreen, SectionsOfDefinitionRowsUnderGameStyledHeaders) {
  LevelOnScreen s(lakesideSurvival);
  auto table = s.screen->tableView();
  const double W = 568, H = 320 - 64;
  EXPECT_EQ(table->frame(), ui::Rect(0, 0, W, H));
  ASSERT_EQ(table->numberOfSections(), 5);
  const char* headers[] = {"Player", "General", "Spawn", "Tags", "Backups"};
  const std::vector<std::vector<std::string>> titles = {{"Armor", "Inventory"},
                                                        {"Level Name", "Game Type"},
                                                        {"Spawn X", "Spawn Y", "Spawn Z"},
                                                        {"Level Data", "Player Data"},
                                                        {"Backups"}};
  for (long section = 0; section < 5; ++section) {
    SCOPED_TRACE(headers[section]);
    auto header = s.screen->viewForHeaderInSection(*table, section);
    EXPECT_EQ(header->frame(), ui::Rect(0, 0, W, 26));
    ASSERT_EQ(header->subviews().size(), 1u);
    auto label = std::dynamic_pointer_cast<BVLLabel>(header->subviews()[0]);
    ASSERT_NE(label, nullptr);
    ui::Size size = ui::Font::named("Minecraft", 16).measure(headers[section]);
    EXPECT_EQ(label->frame(), ui::Rect(24, 6, size.width, size.height));
    EXPECT_EQ(label->text(), headers[section]);
    EXPECT_EQ(label->style(), BVLLabel::HeaderStyle);
    EXPECT_EQ(table->rectForHeaderInSection(section).height(), 26);
    ASSERT_EQ(table->numberOfRowsInSection(section), long(titles[size_t(section)].size()));
    for (long row = 0; row < table->numberOfRowsInSection(section); ++row) {
      auto cell = s.row(section, row);
      ASSERT_NE(cell, nullptr);
      EXPECT_EQ(cell->nameLabel->text(), titles[size_t(section)][size_t(row)]);
      EXPECT_EQ(cell->settingView->frame(), ui::Rect(W - 220, 5, 200, 36)) << "sized to the table first";
      EXPECT_EQ(table->rectForRowAtIndexPath(ui::IndexPath{section, row}).height(), 46);
    }
  }
  // The stored values, as the game wrote them.
  auto level = worldreader::readLevelDat(s.world("Lakeside Survival") / "level.dat").root;
  EXPECT_EQ(s.widget<BVLTextField>(1, 0)->text(), level.string("LevelName"));
  EXPECT_EQ(s.widget<BVLSegmentedControl>(1, 1)->selectedSegmentIndex(), level.number("GameType"));
  EXPECT_EQ(s.widget<BVLTextField>(2, 2)->text(), std::to_string(level.number("SpawnZ")));

  // A tap on a row beside its widget does nothing.
  auto cell = s.row(1, 0);
  s.tapAt(*cell, ui::Point{10, 23});
  EXPECT_FALSE(table->indexPathForSelectedRow().has_value());
  EXPECT_FALSE(cell->isHighlighted() || cell->isSelected());
  EXPECT_EQ(s.navigation->topViewController(), s.screen);
}

TEST(LevelScreen, ReturningReadsTheLevelAgainButKeepsThePlayerAndTheLayout) {
  LevelOnScreen s(lakesideSurvival);
  auto root = s.screen->view();
  auto views = root->subviews();
  ASSERT_EQ(views.size(), 3u) << "panorama, dimming, table";
  EXPECT_EQ(views[0], s.screen->background());
  EXPECT_EQ(views[0]->frame(), ui::Rect(0, -64, 568, 320));
  EXPECT_EQ(views[1]->opacity(), 0.5);
  EXPECT_EQ(views[2], s.screen->tableView());
  auto player = s.screen->player;
  auto level = s.screen->level;
  ASSERT_NE(player, nullptr);

  s.tapButton(1);
  ASSERT_NE(std::dynamic_pointer_cast<InventoryViewController>(s.navigation->topViewController()), nullptr);
  EXPECT_FALSE(s.screen->background()->isAnimating());
  {
    // The level changes on disk while the inventory shows.
    TBKLevelDB other(s.world("Lakeside Survival").string(), "Lakeside Survival", "");
    auto changed = other.levelData();
    changed->setValueForKey(TBKNumberTag::intTag("SpawnX", 1234));
    other.setLevelData(changed);
  }
  s.back();
  EXPECT_EQ(s.widget<BVLTextField>(2, 0)->text(), "1234");
  EXPECT_NE(s.screen->level, level);
  EXPECT_EQ(s.screen->player, player) << "the player tree is read once";
  EXPECT_EQ(root->subviews(), views) << "no second panorama or dimming view";
  EXPECT_TRUE(s.screen->background()->isAnimating());

  s.tapButton(0);
  EXPECT_NE(std::dynamic_pointer_cast<ArmorViewController>(s.navigation->topViewController()), nullptr);
}

TEST(LevelEditing, ARenamedWorldShowsItsNewNameInTheListAndAnEmptyNameIsStoredEmpty) {
  LevelOnScreen s(lakesideSurvival);
  auto world = s.world("Lakeside Survival");
  s.typeInto(1, 0, "Renamed Lake");
  EXPECT_EQ(worldreader::readLevelDat(world / "level.dat").root.string("LevelName"), "Renamed Lake");
  s.back();
  EXPECT_EQ(s.worldRow(lakesideSurvival)->worldNameLabel->text(), "Renamed Lake");

  s.screen = s.chooseWorld(lakesideSurvival);
  s.typeInto(1, 0, "");
  auto level = worldreader::readLevelDat(world / "level.dat").root;
  ASSERT_TRUE(level.has("LevelName"));
  EXPECT_EQ(level.find("LevelName")->type, TestTag::String);
  EXPECT_EQ(level.string("LevelName"), "");
}

// The game type carries the player's abilities with it; nothing else in
// either tree changes.
TEST(LevelEditing, TheGameTypeRewritesThePlayersAbilitiesAndNothingElse) {
  struct Case {
    long worldRow;
    const char* folder;
    long segment;
  } cases[] = {{lakesideSurvival, "Lakeside Survival", 1}, {creativeFlatland, "Creative Flatland", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    LevelOnScreen s(c.worldRow);
    auto world = s.world(c.folder);
    TestTag level = worldreader::readLevelDat(world / "level.dat").root;
    TestTag player = worldreader::readPlayer(world);
    s.chooseSegment(c.segment);

    at(level, "GameType") = numberTag(TestTag::Int, "GameType", c.segment);
    for (const char* ability : {"mayfly", "invulnerable", "instabuild", "flying"}) {
      bool flying = std::string(ability) == "flying";
      at(player, std::string("abilities/") + ability) = numberTag(TestTag::Byte, ability, flying ? 0 : c.segment);
    }
    expectSameTree(worldreader::readLevelDat(world / "level.dat").root, level);
    expectSameTree(worldreader::readPlayer(world), player);
  }
}

TEST(LevelEditing, SpawnFieldsStoreTheNumberTheirTextBeginsWith) {
  LevelOnScreen s(lakesideSurvival);
  auto world = s.world("Lakeside Survival");
  s.typeInto(2, 0, "12abc");
  s.typeInto(2, 1, " -40");
  s.typeInto(2, 2, "99999999999");
  auto level = worldreader::readLevelDat(world / "level.dat").root;
  EXPECT_EQ(level.number("SpawnX"), 12);
  EXPECT_EQ(level.number("SpawnY"), -40);
  EXPECT_EQ(level.number("SpawnZ"), 2147483647);
  for (const char* name : {"SpawnX", "SpawnY", "SpawnZ"}) EXPECT_EQ(level.find(name)->type, TestTag::Int) << name;

  s.back();
  s.screen = s.chooseWorld(lakesideSurvival);
  EXPECT_EQ(s.widget<BVLTextField>(2, 0)->text(), "12");
  EXPECT_EQ(s.widget<BVLTextField>(2, 1)->text(), "-40");
  EXPECT_EQ(s.widget<BVLTextField>(2, 2)->text(), "2147483647");
}

// A world that was never played has no player record. Its level still
// opens and edits; the armor and inventory explain why they open nothing.
TEST(LevelFaults, AWorldWithoutAPlayerEditsItsLevelAndItsButtonsExplain) {
  struct Case {
    const char* why;
    long worldRow;
    const char* folder;
    std::function<void(const fs::path&)> removePlayer;
  } cases[] = {
      {"old format, no Player in level.dat", oldCaveWorld, "Old Cave World",
       [](const fs::path& world) {
         TBKLevelDB db(world.string(), "Old Cave World", "");
         auto level = db.levelData();
         level->removeObjectForKey("Player");
         db.setLevelData(level);
       }},
      {"database without ~local_player", lakesideSurvival, "Lakeside Survival",
       [](const fs::path& world) {
         fs::remove_all(world / "db");
         fs::create_directory(world / "db");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    LevelOnScreen s(c.worldRow, [&](MenuOnScreen& game) { c.removePlayer(game.world(c.folder)); });
    auto world = s.world(c.folder);
    ASSERT_NE(s.screen, nullptr) << "the level screen opens";
    EXPECT_EQ(s.screen->player, nullptr);

    for (long button : {0L, 1L}) {
      s.tapButton(button);
      EXPECT_EQ(s.navigation->topViewController(), s.screen) << "nothing opens";
      auto alert = s.shownAlert();
      ASSERT_NE(alert, nullptr);
      EXPECT_EQ(alert->title(), "Error");
      EXPECT_NE(alert->message().find("has no player yet"), std::string::npos) << alert->message();
      EXPECT_NE(alert->message().find("Play the world in the game once"), std::string::npos) << alert->message();
      s.dismissAlert();
    }

    s.chooseSegment(1);
    s.typeInto(2, 1, "77");
    auto level = worldreader::readLevelDat(world / "level.dat").root;
    EXPECT_EQ(level.number("GameType"), 1);
    EXPECT_EQ(level.number("SpawnY"), 77);
    EXPECT_FALSE(level.has("Player")) << "no player invented";
    EXPECT_EQ(s.shownAlert(), nullptr);
  }
}

}  // namespace

namespace {

// A refused write would otherwise escape a widget's closure and end the
// program with the user's change lost unexplained.
TEST(LevelFaults, AWriteTheLibraryRefusesIsExplainedAndTheProgramGoesOn) {
  LevelOnScreen s(oldCaveWorld);
  auto world = s.world("Old Cave World");
  auto before = worldreader::readFile(world / "level.dat");
  // Where the previous level.dat would be kept now stands a folder.
  fs::create_directories(world / "level.dat_old" / "in the way");
  s.typeInto(2, 0, "5");
  auto alert = s.shownAlert();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->title(), "Error");
  EXPECT_NE(alert->message().find("level.dat_old"), std::string::npos) << alert->message();
  s.dismissAlert();
  EXPECT_EQ(worldreader::readFile(world / "level.dat"), before);

  fs::remove_all(world / "level.dat_old");
  s.typeInto(2, 0, "6");
  EXPECT_EQ(s.shownAlert(), nullptr);
  EXPECT_EQ(worldreader::readLevelDat(world / "level.dat").root.number("SpawnX"), 6);
}

// A player of today's game may have a mode of their own, which the game puts
// them in whatever the world's game type says: the abilities follow it, and
// the world's row says so.
TEST(LevelModernWorld, ThePlayersOwnModeOverridesTheWorldsUntilItIsDefault) {
  LevelOnScreen s(modernSurvival, [](MenuOnScreen&) {
    auto db = TBKLevelDB::dbForWorldNamed("bW9kZXJuAA==");
    auto player = db->player();
    player->setValueForKey(TBKNumberTag::intTag("PlayerGameMode", 0));
    db->setPlayer(player);
  });
  auto world = s.world("bW9kZXJuAA==");
  auto gameType = s.widget<BVLSegmentedControl>(1, 1);
  ASSERT_NE(gameType, nullptr);
  EXPECT_EQ(gameType->segments(), (std::vector<std::string>{"Survival", "Creative", "Adventure", "Spectator"}));
  auto playerMode = s.widget<BVLSegmentedControl>(0, 0);
  ASSERT_NE(playerMode, nullptr);
  EXPECT_EQ(playerMode->segments(),
            (std::vector<std::string>{"Default", "Survival", "Creative", "Adventure", "Spectator"}));
  EXPECT_EQ(playerMode->selectedSegmentIndex(), 1);

  // Player Mode is row (0, 0), the world's Game Type row (1, 1).
  struct Step {
    long section, row, segment;
    int64_t gameType, playerMode, mayfly, instabuild;
    long worldSegment;
    const char* note;  // under the world's game type; null for none
  };
  const Step steps[] = {
      {1, 1, 1, 1, 0, 0, 0, 1, "Player Mode Survival applies"},  // the world goes creative, the player stays
      {0, 0, 0, 1, 5, 1, 1, 1, nullptr},                         // Default: the world's creative applies
      {1, 1, 2, 2, 5, 0, 0, 2, nullptr},                         // an adventure world shows its choice
      {0, 0, 4, 2, 6, 1, 0, 2, "Player Mode Spectator applies"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::to_string(step.section) + "/" + std::to_string(step.segment));
    auto control = s.widget<BVLSegmentedControl>(step.section, step.row);
    ASSERT_NE(control, nullptr);
    ui::Rect segment = control->segmentFrames()[size_t(step.segment)];
    s.tapAt(*control, ui::Point{segment.x() + segment.width() / 2, segment.y() + segment.height() / 2});
    s.driver.runUntilIdle();
    EXPECT_EQ(worldreader::readLevelDat(world / "level.dat").root.number("GameType"), step.gameType);
    TestTag player = worldreader::readPlayer(world);
    EXPECT_EQ(player.number("PlayerGameMode"), step.playerMode);
    EXPECT_EQ(player.number("abilities/mayfly"), step.mayfly);
    EXPECT_EQ(player.number("abilities/invulnerable"), step.mayfly);
    EXPECT_EQ(player.number("abilities/instabuild"), step.instabuild);
    auto worldRow = s.row(1, 1);
    EXPECT_EQ(std::static_pointer_cast<BVLSegmentedControl>(worldRow->settingView)->selectedSegmentIndex(),
              step.worldSegment);
    EXPECT_EQ(worldRow->noteLabel ? worldRow->noteLabel->text() : "", step.note ? step.note : "");
  }
}

}  // namespace
