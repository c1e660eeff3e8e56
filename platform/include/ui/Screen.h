#pragma once

#include "ui/Geometry.h"

namespace ui {

// The main screen: 568 x 320 points unless UI_SCREEN_SIZE=WxH says otherwise.
class Screen {
 public:
  static Screen& main();
  Rect bounds() const;
  // Device pixels per point: the display's own ratio (QT_SCALE_FACTOR scales
  // it) times the window's zoom.
  double scale() const;
  // How many desktop pixels the window gives a point, a whole number so that
  // pixel art stays crisp: the largest that keeps the window within about
  // 80% of the desktop's free area, or 1 when QT_SCALE_FACTOR is set (the
  // user's own choice of size wins).
  int windowZoom() const;
  // The largest whole zoom (at least 1, at most largestZoom) at which
  // `points` fits within 80% of `desktop` on both axes.
  static int zoomFitting(Size points, Size desktop);
  // The desktop's size is the display server's to say (a virtual one says
  // 32767 pixels as readily as 1920): beyond this the window alone would
  // take hundreds of megabytes.
  static constexpr int largestZoom = 8;
  // For tests and odd displays; the window keeps the size it was made with.
  void setBounds(const Rect& bounds);

 private:
  Screen();
  Rect bounds_;
  mutable int zoom_ = 0;  // 0 until the desktop has been asked
};

}  // namespace ui
