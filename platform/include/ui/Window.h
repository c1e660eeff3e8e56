#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/View.h"

namespace ui {

class Image;
class ViewController;
class WindowHost;  // the desktop window behind it; defined inside the platform

// The one window of the application: a fixed-size desktop window titled
// "Gorvane" whose content is this view's tree.
class Window : public View {
 public:
  explicit Window(const Rect& frame);
  ~Window() override;

  std::shared_ptr<ViewController> rootViewController() const { return rootViewController_; }
  // The controller's view fills the window.
  void setRootViewController(std::shared_ptr<ViewController> controller);
  void makeKeyAndVisible();
  bool isKeyWindow() const;
  bool isVisible() const;

  // Views that float over everything (alerts) join here.
  void presentOverlay(const std::shared_ptr<View>& overlay);

  std::shared_ptr<View> firstResponder() const { return firstResponder_.lock(); }
  void setFirstResponder(const std::shared_ptr<View>& view);

  // Carries out a key command (see KeyCommand); true when something was
  // done. The view floating on top (an alert) hears it first; then Escape
  // ends a search that shows its Cancel button, else Escape and Alt+Left go
  // back one screen; Tab and Shift+Tab move between the
  // text fields in reading order, and the scrolling keys scroll the table or
  // grid under the pointer (or, with the pointer elsewhere, the largest one
  // on screen).
  bool runKeyCommand(KeyCommand command);
  // Where the pointer is over the window, in points; none when it is away.
  std::optional<Point> pointerLocation() const { return pointer_; }

  void setNeedsDisplayInRect(const Rect& windowRect);
  void layoutSubviews() override;

  // Renders the whole window, as it would show, into a picture of
  // width x height points at `scale`.
  bool renderToPNG(const std::string& path, double scale = 1) const;
  // The same picture in memory (pixel checks, paint benchmarks).
  std::shared_ptr<Image> snapshot(double scale = 1) const;
  // Frames the desktop has asked this window to paint so far.
  unsigned long paintedFrames() const { return paintedFrames_; }
  // Called after the first frame a window paints, once per window; a way
  // for a start-up probe built around the program to see that moment. Only
  // code sets it: nothing in the environment does.
  static void setFirstFrameObserver(std::function<void(Window&)> observer);
  WindowHost* host() const { return host_.get(); }
  static Window* keyWindow();

 private:
  std::shared_ptr<ViewController> rootViewController_;
  std::weak_ptr<View> firstResponder_;
  std::unique_ptr<WindowHost> host_;
  unsigned long paintedFrames_ = 0;
  std::optional<Point> pointer_;
  friend class WindowHost;
};

}  // namespace ui
