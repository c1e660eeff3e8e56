#include "ui/View.h"

#include <algorithm>
#include <cmath>

#include "ui/ViewController.h"
#include "ui/Window.h"

namespace ui {

Point Touch::location(const View& view) const { return view.convertFromWindow(windowLocation); }

View::View(const Rect& frame) : frame_(frame), bounds_(0, 0, frame.width(), frame.height()) {}

View::~View() {
  for (auto& sub : subviews_) sub->superview_ = nullptr;
}

std::shared_ptr<View> View::superview() const { return superview_ ? superview_->weak_from_this().lock() : nullptr; }

void View::setFrame(const Rect& frame) {
  if (frame == frame_) return;
  setNeedsDisplay();
  Size old = bounds_.size;
  frame_ = frame;
  bounds_.size = frame.size;
  setNeedsDisplay();
  if (!(old == bounds_.size)) layoutSubviews();
}

void View::setBounds(const Rect& bounds) {
  if (bounds == bounds_) return;
  Size old = bounds_.size;
  bounds_ = bounds;
  frame_.size = bounds.size;
  setNeedsDisplay();
  if (!(old == bounds_.size)) layoutSubviews();
}

void View::attach(const std::shared_ptr<View>& view) {
  view->superview_ = this;
  if (view->window_ != window_) {
    view->setWindowRecursively(window_);
  }
  view->setNeedsDisplay();
}

void View::addSubview(const std::shared_ptr<View>& view) { insertSubview(view, long(subviews_.size())); }

void View::insertSubview(const std::shared_ptr<View>& view, long index) {
  if (!view || view.get() == this) return;
  // Keeps the view alive while it moves from its old place to the new one.
  std::shared_ptr<View> keep = view;
  if (view->superview_ == this) {
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    long old = long(it - subviews_.begin());
    subviews_.erase(it);
    if (old < index) --index;
  } else {
    view->removeFromSuperview();
  }
  index = std::clamp(index, 0L, long(subviews_.size()));
  subviews_.insert(subviews_.begin() + index, keep);
  attach(keep);
}

// insertSubview accounts for the view's own old place among the siblings.
void View::insertSubviewAbove(const std::shared_ptr<View>& view, const std::shared_ptr<View>& sibling) {
  auto it = std::find(subviews_.begin(), subviews_.end(), sibling);
  if (it == subviews_.end()) return addSubview(view);
  insertSubview(view, long(it - subviews_.begin()) + 1);
}

void View::insertSubviewBelow(const std::shared_ptr<View>& view, const std::shared_ptr<View>& sibling) {
  auto it = std::find(subviews_.begin(), subviews_.end(), sibling);
  if (it == subviews_.end()) return insertSubview(view, 0);
  insertSubview(view, long(it - subviews_.begin()));
}

void View::bringSubviewToFront(const std::shared_ptr<View>& view) {
  if (view && view->superview_ == this) insertSubview(view, long(subviews_.size()));
}

void View::detachFromSuperview() {
  View* parent = superview_;
  if (!parent) return;
  setNeedsDisplay();
  auto& siblings = parent->subviews_;
  auto it = std::find_if(siblings.begin(), siblings.end(), [this](const auto& v) { return v.get() == this; });
  superview_ = nullptr;
  if (it != siblings.end()) {
    // Erasing may drop the last strong reference to this view: do it last.
    std::shared_ptr<View> keep = *it;
    siblings.erase(it);
    if (window_) setWindowRecursively(nullptr);
  }
}

void View::removeFromSuperview() { detachFromSuperview(); }

bool View::isDescendantOf(const View& ancestor) const {
  for (const View* v = this; v; v = v->superview_) {
    if (v == &ancestor) return true;
  }
  return false;
}

void View::setWindowRecursively(Window* window) {
  if (window_ && !window) {
    // A focused view leaving its window loses the focus.
    if (auto responder = window_->firstResponder(); responder && responder->isDescendantOf(*this)) {
      window_->setFirstResponder(nullptr);
    }
  }
  window_ = window;
  for (auto& sub : subviews_) sub->setWindowRecursively(window);
  didMoveToWindow();
}

void View::setBackgroundColor(const Color& color) {
  if (color == backgroundColor_) return;
  backgroundColor_ = color;
  setNeedsDisplay();
}

void View::setOpacity(double opacity) {
  opacity = std::clamp(opacity, 0.0, 1.0);
  if (opacity == opacity_) return;
  opacity_ = opacity;
  setNeedsDisplay();
}

void View::setClipsToBounds(bool clips) {
  clipsToBounds_ = clips;
  setNeedsDisplay();
}

void View::setHidden(bool hidden) {
  if (hidden == hidden_) return;
  if (hidden) setNeedsDisplay();
  hidden_ = hidden;
  if (!hidden) setNeedsDisplay();
  // Views that animate (a panorama) stop when hidden; they hear it here.
  didMoveToWindow();
}

bool View::pointInside(Point point) const { return bounds_.contains(point); }

std::shared_ptr<View> View::hitTest(Point point) {
  if (hidden_ || !userInteractionEnabled_ || opacity_ < 0.01) return nullptr;
  if (!pointInside(point)) return nullptr;
  for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
    const auto& sub = *it;
    Point local{point.x - sub->frame_.x() + sub->bounds_.x(), point.y - sub->frame_.y() + sub->bounds_.y()};
    if (auto hit = sub->hitTest(local)) return hit;
  }
  return shared_from_this();
}

// The root of the tree (the window) keeps its own coordinates: its frame
// places it on the desktop.
Point View::convertToWindow(Point point) const {
  Point p = point;
  for (const View* v = this;;) {
    const View* parent = v->superview_;
    if (!parent) break;
    p.x += v->frame_.x() - v->bounds_.x();
    p.y += v->frame_.y() - v->bounds_.y();
    v = parent;
  }
  return p;
}

Point View::convertFromWindow(Point point) const {
  Point origin = convertToWindow(Point{0, 0});
  return Point{point.x - origin.x, point.y - origin.y};
}

Rect View::convertRectToWindow(const Rect& rect) const {
  Point o = convertToWindow(rect.origin);
  return Rect(o, rect.size);
}

Window* View::window() const { return window_; }

void View::setNeedsDisplay() {
  if (!window_ || hidden_) return;
  if (this == static_cast<const View*>(window_)) {
    window_->setNeedsDisplayInRect(bounds_);
    return;
  }
  Rect r = convertRectToWindow(bounds_);
  // Views that do not clip may draw outside their bounds (shadows, children):
  // repaint generously rather than leave trails.
  window_->setNeedsDisplayInRect(Rect(r.x() - 4, r.y() - 4, r.width() + 8, r.height() + 8));
  if (!clipsToBounds_ && !subviews_.empty()) window_->setNeedsDisplayInRect(window_->bounds());
}

void View::touchesBegan(const Touch& touch) {
  if (tapHandler_) {
    tapTracking_ = true;
    return;
  }
  if (auto parent = superview()) parent->touchesBegan(touch);
}

void View::touchesMoved(const Touch& touch) {
  if (tapHandler_) {
    if (tapTracking_ && !bounds_.contains(touch.location(*this))) tapTracking_ = false;
    return;
  }
  if (auto parent = superview()) parent->touchesMoved(touch);
}

void View::touchesEnded(const Touch& touch) {
  if (tapHandler_) {
    bool fire = tapTracking_ && bounds_.contains(touch.location(*this));
    tapTracking_ = false;
    if (fire) {
      auto handler = tapHandler_;  // the handler may replace itself
      handler();
    }
    return;
  }
  if (auto parent = superview()) parent->touchesEnded(touch);
}

void View::touchesCancelled(const Touch& touch) {
  if (tapHandler_) {
    tapTracking_ = false;
    return;
  }
  if (auto parent = superview()) parent->touchesCancelled(touch);
}

bool View::scrollWheel(double dx, double dy) {
  if (auto parent = superview()) return parent->scrollWheel(dx, dy);
  return false;
}

void View::setTapHandler(std::function<void()> handler) { tapHandler_ = std::move(handler); }

bool View::becomeFirstResponder() {
  if (!canBecomeFirstResponder() || !window_) return false;
  window_->setFirstResponder(shared_from_this());
  return true;
}

bool View::resignFirstResponder() {
  if (window_ && isFirstResponder()) window_->setFirstResponder(nullptr);
  return true;
}

bool View::isFirstResponder() const { return window_ && window_->firstResponder().get() == this; }

}  // namespace ui
