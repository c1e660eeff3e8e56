#include "level/LevelTableViewCell.h"

#include "MenuOnScreen.h"
#include "WorldReader.h"
#include "level/GameMode.h"

namespace {

struct CellOnScreen : MenuOnScreen {
  std::shared_ptr<TBKLevelDB> db = TBKLevelDB::dbForWorldNamed("Lakeside Survival");
  std::shared_ptr<TBKCompoundTag> level = db->levelData();
  std::shared_ptr<TBKCompoundTag> player = db->player();
  std::shared_ptr<LevelTableViewCell> cell =
      std::make_shared<LevelTableViewCell>(ui::TableViewCellStyle::Default, "cell");

  CellOnScreen() {
    cell->setFrame(ui::Rect(0, 100, 568, 46));
    window->addSubview(cell);
  }
  void prepare(const LevelSettingDefinition& definition) {
    cell->makeReadyWithDefinition(definition, db, level, player);
  }
  size_t count(auto predicate) const {
    size_t n = 0;
    for (auto& view : cell->subviews()) n += predicate(view) ? 1 : 0;
    return n;
  }
};

TEST(LevelSettingCell, EachTypeCodeShowsItsWidgetWithTheStoredValueAndAReuseReplacesBoth) {
  CellOnScreen s;
  s.level->setValueForKey(TBKNumberTag::intTag("SpawnY", -40));
  s.level->setValueForKey(TBKNumberTag::intTag("GameType", 1));
  using Row = LevelSettingDefinition;
  struct Case {
    Row definition;
    std::function<bool(const std::shared_ptr<ui::View>&)> widgetIsRight;  // null: no widget
  } cases[] = {
      {{"Spawn Y", "SpawnY", Row::WholeNumber, {}},
       [](auto& v) {
         auto f = std::dynamic_pointer_cast<BVLTextField>(v);
         return f && f->text() == "-40";
       }},
      {{"Level Name", "LevelName", Row::Text, {}},
       [](auto& v) {
         auto f = std::dynamic_pointer_cast<BVLTextField>(v);
         return f && f->text() == "Lakeside Survival";
       }},
      {{"Game Type", "GameType", Row::Choice, {"Survival", "Creative"}},
       [](auto& v) {
         auto c = std::dynamic_pointer_cast<BVLSegmentedControl>(v);
         return c && c->selectedSegmentIndex() == 1 &&
                c->segments() == std::vector<std::string>{"Survival", "Creative"};
       }},
      {{"Missing", "NoSuchTag", Row::WholeNumber, {}},
       [](auto& v) {
         auto f = std::dynamic_pointer_cast<BVLTextField>(v);
         return f && f->text() == "0";
       }},
      {{"Missing text", "NoSuchTag", Row::Text, {}},
       [](auto& v) {
         auto f = std::dynamic_pointer_cast<BVLTextField>(v);
         return f && f->text().empty();
       }},
      {{"Armor", "_", Row::ArmorButton, {}},
       [](auto& v) {
         auto b = std::dynamic_pointer_cast<BVLButton>(v);
         return b && b->title() == "Edit...";
       }},
      {{"Inventory", "_", Row::InventoryButton, {}},
       [](auto& v) {
         auto b = std::dynamic_pointer_cast<BVLButton>(v);
         return b && b->title() == "Edit...";
       }},
      {{"Nothing here", "SpawnX", 5, {}}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.definition.name);
    s.prepare(c.definition);
    ui::Size title = ui::Font::named("Minecraft", 16).measure(c.definition.name);
    ASSERT_NE(s.cell->nameLabel, nullptr);
    EXPECT_EQ(s.cell->nameLabel->frame(), ui::Rect(40, 15, title.width, title.height));
    EXPECT_EQ(s.cell->nameLabel->text(), c.definition.name);
    EXPECT_EQ(s.cell->nameLabel->style(), BVLLabel::DetailStyle);
    EXPECT_EQ(s.count([](auto& v) { return std::dynamic_pointer_cast<BVLLabel>(v) != nullptr; }), 1u);
    EXPECT_TRUE(s.cell->backgroundColor().isClear());
    if (!c.widgetIsRight) {
      EXPECT_EQ(s.cell->settingView, nullptr);
      EXPECT_EQ(s.count([](auto& v) { return std::dynamic_pointer_cast<ui::Control>(v) != nullptr; }), 0u);
      continue;
    }
    ASSERT_NE(s.cell->settingView, nullptr);
    EXPECT_TRUE(c.widgetIsRight(s.cell->settingView));
    EXPECT_EQ(s.cell->settingView->frame(), ui::Rect(568 - 220, 5, 200, 36));
    EXPECT_EQ(s.count([](auto& v) { return std::dynamic_pointer_cast<ui::Control>(v) != nullptr; }), 1u);
  }
}

// A choice row for another tag writes that tag alone: the player's
// abilities follow the game type only.
TEST(LevelSettingCell, AChoiceOtherThanTheGameTypeLeavesThePlayerAlone) {
  CellOnScreen s;
  auto world = s.world("Lakeside Survival");
  auto playerBefore = worldreader::readDatabaseValue(world, "~local_player");
  s.prepare({"Difficulty", "Difficulty", LevelSettingDefinition::Choice, {"Peaceful", "Easy", "Normal"}});
  auto control = std::static_pointer_cast<BVLSegmentedControl>(s.cell->settingView);
  auto segment = control->segmentFrames()[2];
  s.tapAt(*control, ui::Point{segment.x() + segment.width() / 2, segment.y() + segment.height() / 2});
  s.driver.runUntilIdle();

  auto level = worldreader::readLevelDat(world / "level.dat").root;
  ASSERT_TRUE(level.has("Difficulty"));
  EXPECT_EQ(level.find("Difficulty")->type, TestTag::Int);
  EXPECT_EQ(level.number("Difficulty"), 2);
  EXPECT_EQ(worldreader::readDatabaseValue(world, "~local_player"), playerBefore);
}

}  // namespace

namespace {

// Which game types a world offers follows the version that last opened it.
TEST(LevelGameTypes, SpectatorIsOfferedFromTheVersionThatHasItOrWhereItIsInUse) {
  struct Case {
    std::vector<int32_t> version;  // empty: an early world, with no version list
    int32_t gameType;
    size_t choices;
  } cases[] = {
      {{}, 0, 2},     {{1, 21, 40, 3, 0}, 0, 3}, {{1, 21, 50, 0, 0}, 0, 4}, {{1, 26, 0}, 0, 4},
      {{2, 0}, 0, 4}, {{1, 20, 80, 5}, 6, 4},
  };
  for (const auto& c : cases) {
    auto level = std::make_shared<TBKCompoundTag>("");
    level->setValueForKey(TBKNumberTag::intTag("GameType", c.gameType));
    if (!c.version.empty()) {
      auto list = std::make_shared<TBKListTag>("lastOpenedWithVersion", TBKTagType::Int);
      for (int32_t part : c.version) list->setObjectAtIndexedSubscript(TBKNumberTag::intTag("", part), list->count());
      level->setValueForKey(list);
    }
    EXPECT_EQ(gamemode::worldChoices(*level, nullptr).size(), c.choices) << c.version.size() << " " << c.gameType;
  }
}

}  // namespace
