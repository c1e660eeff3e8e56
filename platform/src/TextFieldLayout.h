#pragma once

#include <vector>

#include "ui/Geometry.h"
#include "ui/GraphicsContext.h"

namespace ui {

// Where a one-line text field puts its text and caret, and which caret
// position a point falls on: a function of the field's sizes and its line's
// metrics alone, so drawing and hit testing agree whether or not a paint has
// run. Every coordinate is in the field's bounds, in points.
struct TextFieldLayout {
  static constexpr double caretWidth = 2;

  // A place the caret may stand: an index into the text (UTF-16 units) and
  // its x from the start of the line.
  struct CaretStop {
    int index = 0;
    double x = 0;
  };
  struct Input {
    Rect bounds;
    EdgeInsets insets;
    TextAlignment alignment = TextAlignment::Left;
    double textWidth = 0;   // the line's natural width
    double lineHeight = 0;  // the line's height
    double caretX = 0;      // the caret's x from the start of the line
    bool editing = false;
    // The scroll the field last settled on: a long line only moves as far as
    // it must to keep the caret in view.
    double scrollX = 0;
  };

  Rect textArea;
  // How far a line wider than the text area is shifted left; 0 while the
  // line fits or the field is not being edited.
  double scrollX = 0;
  // Where the line's top-left corner is drawn.
  Point textOrigin;
  // The caret's bar, kept inside the text area.
  Rect caret;

  static TextFieldLayout of(const Input& input);
  // The stop nearest to `point`; on a tie, the first in `stops`. 0 when
  // `stops` is empty.
  int indexAt(Point point, const std::vector<CaretStop>& stops) const;
};

}  // namespace ui
