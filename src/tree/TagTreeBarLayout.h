#pragma once

#include "ui/Geometry.h"

// Where the tag tree screen's bar, its table and the bar's controls lie, as
// a pure computation from sizes in points; the screen and its bars apply
// the frames. One bar at the top shows either the toolbar (search field, Add,
// Rename, Remove) or the prompt (label, type button, field, OK, Cancel).
class TagTreeBarLayout {
 public:
  static constexpr double barHeight = 40;

  struct Screen {
    ui::Rect bar, table;
  };
  struct Toolbar {
    ui::Rect search, add, rename, remove;
  };
  struct Prompt {
    ui::Rect label, type, field, ok, cancel;
  };

  static Screen screen(ui::Size bounds);
  // In the bar's coordinates, as the prompt below.
  static Toolbar toolbar(double width);
  // `labelTextWidth` is the label's text as measured. A label too long for
  // the bar is cut, leaving the field room to type in; `type` and `field`
  // are empty when the prompt has no type button or no field.
  static Prompt prompt(double width, double labelTextWidth, bool withType, bool withField);
};
