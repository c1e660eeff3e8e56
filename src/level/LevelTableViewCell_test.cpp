#include "level/LevelTableViewCell.h"

#include "MenuOnScreen.h"
#include "records/GameMode.h"

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

// What each widget shows of a stored value is the level screen's tests'
// (ModernWorld's segments, spawn and name fields); here, that a reused cell
// keeps only its new row's widget, and a missing tag or an unknown type
// shows no value rather than failing.
TEST(LevelSettingCell, AReuseKeepsOnlyTheNewRowsWidgetAndAMissingTagShowsNoValue) {
  CellOnScreen s;
  using Row = LevelSettingDefinition;
  s.prepare({"Game Type", "GameType", Row::Choice, {"Survival", "Creative"}});
  ASSERT_NE(std::dynamic_pointer_cast<BVLSegmentedControl>(s.cell->settingView), nullptr);
  s.prepare({"Missing", "NoSuchTag", Row::WholeNumber, {}});
  auto field = std::dynamic_pointer_cast<BVLTextField>(s.cell->settingView);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(), "0");
  EXPECT_EQ(s.controls(), 1u) << "the previous widget is gone";
  s.prepare({"Nothing here", "SpawnX", 5, {}});
  EXPECT_EQ(s.cell->nameLabel->text(), "Nothing here");
  EXPECT_EQ(s.cell->settingView, nullptr);
  EXPECT_EQ(s.controls(), 0u);
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
