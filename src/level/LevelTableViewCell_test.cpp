#include "level/LevelTableViewCell.h"

#include "MenuOnScreen.h"
#include "WorldReader.h"
#include "level/GameMode.h"

namespace {

struct CellOnScreen : WorldOnScreen {
  std::shared_ptr<TBKCompoundTag> level = db->levelData();
  std::shared_ptr<LevelTableViewCell> cell =
      std::make_shared<LevelTableViewCell>(ui::TableViewCellStyle::Default, "cell");

  CellOnScreen() {
    cell->setFrame(ui::Rect(0, 100, 568, 46));
    window->addSubview(cell);
  }
  void prepare(const LevelSettingDefinition& definition) {
    cell->makeReadyWithDefinition(definition, db, level, player);
  }
  size_t controls() const {
    size_t n = 0;
    for (auto& view : cell->subviews()) n += std::dynamic_pointer_cast<ui::Control>(view) ? 1 : 0;
    return n;
  }
};

// What a row's widget shows: a field's text, a control's chosen segment of
// its segments, a button's title.
std::string shown(const std::shared_ptr<ui::View>& view) {
  if (auto field = std::dynamic_pointer_cast<BVLTextField>(view)) return "field " + field->text();
  if (auto control = std::dynamic_pointer_cast<BVLSegmentedControl>(view)) {
    std::string out = "segment " + std::to_string(control->selectedSegmentIndex()) + " of";
    for (const auto& segment : control->segments()) out += " " + segment;
    return out;
  }
  if (auto button = std::dynamic_pointer_cast<BVLButton>(view)) return "button " + button->title();
  return view ? "another view" : "nothing";
}

TEST(LevelSettingCell, EachTypeCodeShowsItsWidgetAndAReuseReplacesThePreviousOne) {
  CellOnScreen s;
  s.level->setValueForKey(TBKNumberTag::intTag("GameType", 1));
  using Row = LevelSettingDefinition;
  const std::pair<Row, const char*> cases[] = {
      {{"Game Type", "GameType", Row::Choice, {"Survival", "Creative"}}, "segment 1 of Survival Creative"},
      {{"Missing", "NoSuchTag", Row::WholeNumber, {}}, "field 0"},
      {{"Armor", "_", Row::ArmorButton, {}}, "button Edit..."},
      {{"Missing text", "NoSuchTag", Row::Text, {}}, "field "},
      {{"Nothing here", "SpawnX", 5, {}}, "nothing"},
  };
  for (const auto& [definition, widget] : cases) {
    SCOPED_TRACE(definition.name);
    s.prepare(definition);
    EXPECT_EQ(s.cell->nameLabel->text(), definition.name);
    EXPECT_EQ(shown(s.cell->settingView), widget);
    EXPECT_EQ(s.controls(), s.cell->settingView ? 1u : 0u) << "the previous widget is gone";
  }
}

// A choice row for another tag writes that tag alone: the player's
// abilities follow the game type only.
TEST(LevelSettingCell, AChoiceOtherThanTheGameTypeLeavesThePlayerAlone) {
  CellOnScreen s;
  const std::string player = s.record();
  s.prepare({"Difficulty", "Difficulty", LevelSettingDefinition::Choice, {"Peaceful", "Easy", "Normal"}});
  s.tapSegment(*std::static_pointer_cast<BVLSegmentedControl>(s.cell->settingView), 2);

  auto level = worldreader::readLevelDat(s.path / "level.dat").root;
  ASSERT_TRUE(level.has("Difficulty"));
  EXPECT_EQ(level.find("Difficulty")->type, TestTag::Int);
  EXPECT_EQ(level.number("Difficulty"), 2);
  EXPECT_EQ(s.record(), player);
}

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
