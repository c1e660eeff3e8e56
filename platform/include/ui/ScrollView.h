#pragma once

#include <functional>
#include <memory>

#include "ui/View.h"

namespace ui {

class Timer;

// A view whose subviews lie on a larger content area, shown through its
// bounds: the content offset is the bounds origin. It scrolls by the wheel
// and by dragging (a drag that starts on a subview is taken over once it has
// moved a few points, unless a control is under it), clips its content and
// shows thin scroll bars while it moves.
//
// Offsets are clamped to -inset...contentSize + inset - bounds size on each
// axis (0...contentSize - bounds size without a content inset); there is no
// rubber-banding and no momentum, as suits a mouse.
//
// The content inset is extra room around the content, for views that lie
// under a bar: with a top inset of 64 the content rests 64 points down, clear
// of a navigation bar drawn over the view, and still scrolls up beneath it.
class ScrollView : public View {
 public:
  explicit ScrollView(const Rect& frame = {});
  ~ScrollView() override;

  Size contentSize() const { return contentSize_; }
  // Also pulls the offset back inside the new range.
  void setContentSize(Size size);
  Point contentOffset() const { return bounds().origin; }
  // `animated` is accepted for the phone's signature; a desktop jump is
  // immediate. Tells didScroll() and onScroll when the offset changes.
  void setContentOffset(Point offset, bool animated = false);
  Point minimumContentOffset() const;
  Point maximumContentOffset() const;
  EdgeInsets contentInset() const { return contentInset_; }
  // An offset resting at the top (or left) end stays at that end, so content
  // at rest moves clear of a new inset; any other offset is kept and clamped.
  void setContentInset(const EdgeInsets& inset);
  // Scrolls the least distance that shows `rect` (content coordinates) in
  // the part of the bounds the inset leaves clear.
  void scrollRectToVisible(const Rect& rect, bool animated);

  bool isScrollEnabled() const { return scrollEnabled_; }
  void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
  bool showsVerticalScrollIndicator() const { return showsVertical_; }
  void setShowsVerticalScrollIndicator(bool shows) { showsVertical_ = shows; }
  bool showsHorizontalScrollIndicator() const { return showsHorizontal_; }
  void setShowsHorizontalScrollIndicator(bool shows) { showsHorizontal_ = shows; }
  // True from the moment a touch has moved far enough to scroll until it ends.
  bool isDragging() const { return dragging_; }

  // After every change of the offset, however caused.
  std::function<void(ScrollView&)> onScroll;

  // A scrolling key (KeyCommand::LineUp ... End): a line is 40 points, a
  // page the height shown between the insets, Home and End the two ends.
  // True when it moved.
  bool scrollForKey(KeyCommand command);

  bool scrollWheel(double dx, double dy) override;
  bool takesOverDrags() const override { return scrollEnabled_; }
  void touchesBegan(const Touch& touch) override;
  void touchesMoved(const Touch& touch) override;
  void touchesEnded(const Touch& touch) override;
  void touchesCancelled(const Touch& touch) override;
  void drawOverSubviews(GraphicsContext& context, const Rect& dirty) override;

  // The scroll bars' rectangles in bounds coordinates; empty when the content
  // fits on that axis.
  Rect verticalIndicatorRect() const;
  Rect horizontalIndicatorRect() const;

 protected:
  virtual void didScroll() {}
  // Touch hooks for subclasses that select what is under a tap (tables,
  // grids). Points are in bounds (content) coordinates.
  virtual void touchDownAt(Point) {}
  virtual void tapAt(Point) {}
  // The touch went on to scroll, was cancelled or ended outside.
  virtual void touchAbandoned() {}

 private:
  void flashIndicators();

  Size contentSize_;
  EdgeInsets contentInset_;
  bool scrollEnabled_ = true;
  bool showsVertical_ = true;
  bool showsHorizontal_ = true;
  bool tracking_ = false;
  bool dragging_ = false;
  Point touchStart_;  // window coordinates
  Point offsetAtStart_;
  bool indicatorsShown_ = false;
  std::shared_ptr<Timer> indicatorTimer_;
};

}  // namespace ui
