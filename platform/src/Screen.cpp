#include "ui/Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

namespace ui {

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

double Screen::scale() const {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    if (QScreen* screen = app->primaryScreen()) return screen->devicePixelRatio();
  }
  return 1;
}

}  // namespace ui
