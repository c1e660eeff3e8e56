#include "level/LevelTableViewCell.h"

#include "MenuOnScreen.h"

namespace {

struct CellOnScreen : WorldOnScreen {
  std::shared_ptr<LevelTableViewCell> cell =
      std::make_shared<LevelTableViewCell>(ui::TableViewCellStyle::Default, "cell");

  CellOnScreen() {
    cell->setFrame(ui::Rect(0, 100, 568, 46));
    window->addSubview(cell);
  }
  size_t controls() const {
    size_t n = 0;
    for (auto& view : cell->subviews()) n += std::dynamic_pointer_cast<ui::Control>(view) ? 1 : 0;
    return n;
  }
};

// What each widget shows of a stored value is the level screen's tests'
// (ModernWorld's segments, spawn and name fields); here, that a reused cell
// keeps only its new row's widget and note, and that a row whose binding
// cannot do what its widget would shows none.
TEST(LevelSettingCell, AReuseKeepsOnlyTheNewRowsWidgetAndARowWithoutItsCallShowsNone) {
  CellOnScreen s;
  long chosen = -1;
  s.cell->makeReadyWithDefinition(
      {.name = "Game Type", .setting = "GameType", .kind = LevelRowKind::Choice, .names = {"Survival", "Creative"}},
      {.segment = 1, .note = "a note", .choose = [&](long segment) { chosen = segment; }});
  auto control = std::dynamic_pointer_cast<BVLSegmentedControl>(s.cell->settingView);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->selectedSegmentIndex(), 1);
  ASSERT_NE(s.cell->noteLabel, nullptr);
  s.cell->makeReadyWithDefinition({.name = "Spawn X", .setting = "SpawnX", .kind = LevelRowKind::WholeNumber},
                                  {.text = "12", .type = [](const std::string&) {}});
  auto field = std::dynamic_pointer_cast<BVLTextField>(s.cell->settingView);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(), "12");
  EXPECT_EQ(s.controls(), 1u) << "the previous widget is gone";
  EXPECT_EQ(s.cell->noteLabel, nullptr) << "and its note";
  s.cell->makeReadyWithDefinition({.name = "Player Mode", .kind = LevelRowKind::PlayerChoice}, {});
  EXPECT_EQ(s.cell->nameLabel->text(), "Player Mode");
  EXPECT_EQ(s.cell->settingView, nullptr);
  EXPECT_EQ(s.controls(), 0u);
}

}  // namespace
