#pragma once

#include "ui/Geometry.h"

namespace ui {

// The main screen: 568 x 320 points unless UI_SCREEN_SIZE=WxH says otherwise.
class Screen {
 public:
  static Screen& main();
  Rect bounds() const;
  // Device pixels per point (QT_SCALE_FACTOR scales it).
  double scale() const;
  // For tests and odd displays; the window keeps the size it was made with.
  void setBounds(const Rect& bounds);

 private:
  Screen();
  Rect bounds_;
};

}  // namespace ui
