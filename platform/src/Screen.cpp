#include "ui/Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ui {
namespace {

QScreen* primaryScreen() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  return app ? app->primaryScreen() : nullptr;
}

}  // namespace

Screen::Screen() : bounds_(0, 0, 568, 320) {
  if (const char* size = std::getenv("UI_SCREEN_SIZE")) {
    int w = 0, h = 0;
    if (std::sscanf(size, "%dx%d", &w, &h) == 2 && w > 0 && h > 0) bounds_ = Rect(0, 0, w, h);
  }
}

Screen& Screen::main() {
  static Screen screen;
  return screen;
}

Rect Screen::bounds() const { return bounds_; }
void Screen::setBounds(const Rect& bounds) { bounds_ = bounds; }

int Screen::zoomFitting(Size points, Size desktop) {
  constexpr double share = 0.8;
  if (points.width <= 0 || points.height <= 0) return 1;
  double fit = std::min(desktop.width * share / points.width, desktop.height * share / points.height);
  return std::clamp(int(std::min(std::floor(fit), double(largestZoom))), 1, largestZoom);
}

int Screen::windowZoom() const {
  if (zoom_ > 0) return zoom_;
  QScreen* screen = primaryScreen();
  if (!screen) return 1;  // asked again once the desktop is there
  const char* userScale = std::getenv("QT_SCALE_FACTOR");
  if (userScale && *userScale) {
    zoom_ = 1;
  } else {
    QRect area = screen->availableGeometry();
    zoom_ = zoomFitting(bounds_.size, Size{double(area.width()), double(area.height())});
  }
  return zoom_;
}

double Screen::scale() const {
  QScreen* screen = primaryScreen();
  return screen ? screen->devicePixelRatio() * windowZoom() : 1;
}

}  // namespace ui
