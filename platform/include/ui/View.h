#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "ui/Color.h"
#include "ui/Geometry.h"

namespace ui {

class GraphicsContext;
class PlatformEvent;
class ViewController;
class Window;

// What a key asks of the screen, beyond typing into the focused field:
// Return confirms, Escape cancels (or goes back), Alt+Left goes back, Tab and
// Shift+Tab move between fields, the arrows, Page Up/Down, Home and End scroll;
// Delete asks to remove what is selected (nothing, unless a screen takes it);
// + and - ask to zoom in and out (a map).
enum class KeyCommand {
  Confirm,
  Cancel,
  Back,
  NextField,
  PreviousField,
  LineUp,
  LineDown,
  LineLeft,
  LineRight,
  PageUp,
  PageDown,
  Home,
  End,
  Delete,
  ZoomIn,
  ZoomOut
};

// A touch in window coordinates; location(view) converts it.
struct Touch {
  Point windowLocation;
  Point location(const class View& view) const;
};

// A rectangle on screen with a background, subviews and a draw hook.
//
// Ownership: a superview holds its subviews strongly; a view knows its
// superview weakly. Frames are in the superview's bounds coordinates; a
// view's bounds origin shifts what its subviews show (scrolling).
class View : public std::enable_shared_from_this<View> {
 public:
  explicit View(const Rect& frame = {});
  virtual ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  Rect frame() const { return frame_; }
  void setFrame(const Rect& frame);
  Rect bounds() const { return bounds_; }
  void setBounds(const Rect& bounds);

  std::shared_ptr<View> superview() const;
  const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
  void addSubview(const std::shared_ptr<View>& view);
  // Out-of-range indices clamp to the ends, as the phone's toolkit does.
  void insertSubview(const std::shared_ptr<View>& view, long index);
  void insertSubviewAbove(const std::shared_ptr<View>& view, const std::shared_ptr<View>& sibling);
  void insertSubviewBelow(const std::shared_ptr<View>& view, const std::shared_ptr<View>& sibling);
  void bringSubviewToFront(const std::shared_ptr<View>& view);
  void removeFromSuperview();
  bool isDescendantOf(const View& ancestor) const;

  Color backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(const Color& color);
  // The layer's opacity, 0...1; applies to the view and everything in it.
  double opacity() const { return opacity_; }
  void setOpacity(double opacity);
  bool clipsToBounds() const { return clipsToBounds_; }
  void setClipsToBounds(bool clips);
  bool isHidden() const { return hidden_; }
  void setHidden(bool hidden);
  bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
  void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
  long tag() const { return tag_; }
  void setTag(long tag) { tag_ = tag; }

  // The deepest visible, interactive view containing `point` (own bounds
  // coordinates), or null. Subviews outside this view's bounds are not found.
  virtual std::shared_ptr<View> hitTest(Point point);
  virtual bool pointInside(Point point) const;

  Point convertToWindow(Point point) const;
  Point convertFromWindow(Point point) const;
  Rect convertRectToWindow(const Rect& rect) const;

  Window* window() const;
  // The controller whose view this is, if any.
  ViewController* viewController() const { return viewController_; }

  // Asks for a repaint of this view at the next frame.
  void setNeedsDisplay();
  // Called when the bounds' size changes and after subviews change.
  virtual void layoutSubviews() {}

  // Draws the content, in bounds coordinates, after the background colour and
  // before the subviews.
  virtual void draw(GraphicsContext&, const Rect& /*dirty*/) {}
  // Draws over the subviews, in bounds coordinates (scroll indicators).
  virtual void drawOverSubviews(GraphicsContext&, const Rect& /*dirty*/) {}

  // Touches go to the hit view; by default they travel on to the superview.
  virtual void touchesBegan(const Touch& touch);
  virtual void touchesMoved(const Touch& touch);
  virtual void touchesEnded(const Touch& touch);
  virtual void touchesCancelled(const Touch& touch);
  // A wheel turn in points; by default it travels on to the superview.
  virtual bool scrollWheel(double dx, double dy);
  // A view that scrolls its content takes over a touch that starts inside it
  // once the touch has moved more than a few points: the content's touch is
  // cancelled and the rest of it goes to this view.
  virtual bool takesOverDrags() const { return false; }

  // A single tap (down and up inside, without a drag) runs this closure.
  void setTapHandler(std::function<void()> handler);

  // Keyboard focus.
  virtual bool canBecomeFirstResponder() const { return false; }
  bool becomeFirstResponder();
  bool resignFirstResponder();
  bool isFirstResponder() const;
  virtual void didBecomeFirstResponder() {}
  virtual void didResignFirstResponder() {}
  // Keys and text input for the focused view; true when handled. Only the
  // platform's own views look inside the event.
  virtual bool handlePlatformEvent(PlatformEvent&) { return false; }
  // A key command offered to a view before the window acts on it; true when
  // taken. The view floating over the window (an alert) hears every command
  // first, and a modal one takes all; Escape's Cancel then goes to every
  // view on screen, the front one first (a search bar ends its search),
  // before it goes back.
  virtual bool performKeyCommand(KeyCommand) { return false; }

  // Called after the view has joined or left a window (window() tells which).
  virtual void didMoveToWindow() {}

 private:
  friend class ViewController;
  friend class Window;
  void setViewController(ViewController* controller) { viewController_ = controller; }
  void setWindowRecursively(Window* window);
  void detachFromSuperview();
  void attach(const std::shared_ptr<View>& view);

  Rect frame_;
  Rect bounds_;
  // Not a weak_ptr: a view that adds subviews in its own constructor has no
  // weak reference to itself yet. The parent clears it when it lets go of the
  // child or is destroyed, so it never dangles.
  View* superview_ = nullptr;
  std::vector<std::shared_ptr<View>> subviews_;
  Color backgroundColor_ = Color::clear();
  double opacity_ = 1;
  bool clipsToBounds_ = false;
  bool hidden_ = false;
  bool userInteractionEnabled_ = true;
  long tag_ = 0;
  Window* window_ = nullptr;
  ViewController* viewController_ = nullptr;
  std::function<void()> tapHandler_;
  bool tapTracking_ = false;
};

}  // namespace ui
