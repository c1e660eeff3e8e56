#include "TextFieldLayout.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

// A 100 x 30 field with 10-point side insets and 5-point top and bottom ones
// (text area x 10 to 90, y 5 to 25), holding a 10-point-high line.
TextFieldLayout::Input field(double textWidth, double caretX, TextAlignment alignment, bool editing,
                             double scrollX = 0) {
  return {Rect(0, 0, 100, 30), EdgeInsets{5, 10, 5, 10}, alignment, textWidth, 10, caretX, editing, scrollX};
}

TEST(TextFieldLayoutPlace, AlignsShortLinesAndScrollsLongOnesToTheCaret) {
  using A = TextAlignment;
  struct Case {
    const char* what;
    TextFieldLayout::Input input;
    double scrollX, originX, caretX;
  };
  std::vector<Case> cases = {
      {"left", field(40, 40, A::Left, false), 0, 10, 50},
      {"centred", field(40, 40, A::Center, true), 0, 30, 70},
      {"right, room left for the caret", field(40, 40, A::Right, false), 0, 48, 88},
      {"exactly fits with the caret", field(78, 78, A::Right, true), 0, 10, 88},
      {"too long, not editing: from the left, caret held inside", field(200, 200, A::Right, false), 0, 10, 88},
      {"too long, caret at the end", field(200, 200, A::Left, true), 122, -112, 88},
      {"caret moved left of the view", field(200, 50, A::Left, true, 122), 50, -40, 10},
      {"caret still in view: no movement", field(200, 100, A::Left, true, 50), 50, -40, 60},
      {"line shrank: no empty space after it", field(100, 90, A::Left, true, 122), 22, -12, 78},
  };
  for (const auto& c : cases) {
    TextFieldLayout layout = TextFieldLayout::of(c.input);
    EXPECT_EQ(layout.textArea, Rect(10, 5, 80, 20)) << c.what;
    EXPECT_EQ(layout.scrollX, c.scrollX) << c.what;
    EXPECT_EQ(layout.textOrigin, (Point{c.originX, 10})) << c.what;
    EXPECT_EQ(layout.caret, Rect(c.caretX, 10, 2, 10)) << c.what;
  }
}

TEST(TextFieldLayoutHit, APointFallsOnTheNearestCaretStop) {
  std::vector<TextFieldLayout::CaretStop> stops = {{0, 0}, {1, 10}, {2, 20}, {3, 30}};
  TextFieldLayout fits = TextFieldLayout::of(field(30, 30, TextAlignment::Left, true));
  struct Case {
    double x;  // in the field; the line starts at 10
    int index;
  };
  std::vector<Case> cases = {{0, 0}, {14, 0}, {15, 0} /* a tie goes to the first */, {16, 1}, {34, 2}, {95, 3}};
  for (const auto& c : cases) EXPECT_EQ(fits.indexAt(Point{c.x, 15}, stops), c.index) << c.x;
  EXPECT_EQ(fits.indexAt(Point{50, 15}, {}), 0);
}

}  // namespace
}  // namespace ui
