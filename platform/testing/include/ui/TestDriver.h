#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/Geometry.h"

namespace ui {

class View;
class Window;

// Drives the real event path for tests: taps and keys arrive at the window as
// the desktop would send them.
class TestDriver {
 public:
  // Makes the application object (offscreen platform in tests) and, when
  // `instantAnimations`, lets transitions finish at once.
  explicit TestDriver(bool instantAnimations = true);

  void tap(const View& view);  // at the view's centre
  void tap(Window& window, Point windowPoint);
  void drag(Window& window, Point from, Point to, int steps = 8);
  void wheel(Window& window, Point at, double dy);
  // The pointer moving over the window with no button down.
  void hover(Window& window, Point at);
  // Types into the focused view, then presses Return when `endEditing`.
  void type(Window& window, const std::string& text, bool endEditing = true);
  void pressReturn(Window& window);
  // A key with modifiers in the desktop's portable notation: "Ctrl+V",
  // "Shift+Left", "Backspace".
  void pressKeys(Window& window, const std::string& sequence);
  // The window losing the desktop's keyboard focus (another application).
  void loseFocus(Window& window);
  // Processes events until nothing is posted, no transition runs and no
  // one-shot timer is due; repeating timers (a panning picture) do not count.
  void runUntilIdle(double maxSeconds = 5);
  // Processes events until `done` says so (work on another thread that
  // posts its result); false when it has not within maxSeconds.
  bool runUntil(const std::function<bool()>& done, double maxSeconds = 30);
  bool renderToPNG(const Window& window, const std::string& path, double scale = 1);
};

}  // namespace ui
