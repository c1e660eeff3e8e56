#include "tree/TagTreeBarLayout.h"

#include <gtest/gtest.h>

namespace {

using ui::Rect;

TEST(TagTreeBarLayout, TheToolbarKeepsItsButtonsAtTheRightAndGivesTheSearchTheRest) {
  auto screen = TagTreeBarLayout::screen(ui::Size{568, 256});
  EXPECT_EQ(screen.bar, Rect(0, 0, 568, 40));
  EXPECT_EQ(screen.table, Rect(0, 40, 568, 216));
  auto frames = TagTreeBarLayout::toolbar(568);
  EXPECT_EQ(frames.search, Rect(8, 4, 240, 32));
  EXPECT_EQ(frames.add, Rect(252, 4, 100, 32));
  EXPECT_EQ(frames.rename, Rect(356, 4, 100, 32));
  EXPECT_EQ(frames.remove, Rect(460, 4, 100, 32));
  EXPECT_EQ(TagTreeBarLayout::toolbar(480).search, Rect(8, 4, 152, 32));
}

TEST(TagTreeBarLayout, ThePromptsLabelGivesWayToItsFieldAndTypeButton) {
  struct Case {
    const char* what;
    double labelTextWidth;
    bool withType, withField;
    Rect label, type, field;
  } cases[] = {
      {"a short label", 100, false, true, Rect(8, 4, 104, 32), Rect(), Rect(118, 4, 232, 32)},
      {"a long label, cut at 35% of the bar", 400, false, true, Rect(8, 4, 198.8, 32), Rect(),
       Rect(212.8, 4, 137.2, 32)},
      {"with the type button", 100, true, true, Rect(8, 4, 104, 32), Rect(118, 4, 120, 32), Rect(244, 4, 106, 32)},
      {"a long label and the type button: the field keeps room", 400, true, true, Rect(8, 4, 130, 32),
       Rect(144, 4, 120, 32), Rect(270, 4, 80, 32)},
      {"the type button alone", 400, true, false, Rect(8, 4, 198.8, 32), Rect(212.8, 4, 120, 32), Rect()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto frames = TagTreeBarLayout::prompt(568, c.labelTextWidth, c.withType, c.withField);
    EXPECT_EQ(frames.label, c.label);
    EXPECT_EQ(frames.type, c.type);
    EXPECT_EQ(frames.field, c.field);
    EXPECT_EQ(frames.ok, Rect(356, 4, 100, 32));
    EXPECT_EQ(frames.cancel, Rect(460, 4, 100, 32));
  }
}

}  // namespace
