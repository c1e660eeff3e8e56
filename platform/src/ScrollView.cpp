#include "ui/ScrollView.h"

#include <algorithm>
#include <cmath>

#include "ui/GraphicsContext.h"
#include "ui/Timer.h"

namespace ui {
namespace {

// A touch must move this far (points) before it scrolls; the window uses the
// same distance to hand a touch from a row to its scrolling table.
constexpr double dragThreshold = 8;
constexpr double indicatorThickness = 2.5;
constexpr double indicatorInset = 2.5;
constexpr double indicatorMinimumLength = 36;
constexpr double indicatorSeconds = 0.6;

// Where a bar of a track sits: its start and its length along the track.
std::pair<double, double> indicatorSpan(double track, double visible, double content, double offset, double maximum) {
  double length = std::clamp(track * visible / content, std::min(indicatorMinimumLength, track), track);
  double progress = maximum > 0 ? std::clamp(offset / maximum, 0.0, 1.0) : 0;
  return {(track - length) * progress, length};
}

}  // namespace

ScrollView::ScrollView(const Rect& frame) : View(frame) { setClipsToBounds(true); }

ScrollView::~ScrollView() {
  if (indicatorTimer_) indicatorTimer_->invalidate();
}

Point ScrollView::minimumContentOffset() const { return Point{-contentInset_.left, -contentInset_.top}; }

Point ScrollView::maximumContentOffset() const {
  Rect b = bounds();
  Point minimum = minimumContentOffset();
  return Point{std::max(minimum.x, contentSize_.width + contentInset_.right - b.width()),
               std::max(minimum.y, contentSize_.height + contentInset_.bottom - b.height())};
}

void ScrollView::setContentInset(const EdgeInsets& inset) {
  if (inset == contentInset_) return;
  Point atStart = minimumContentOffset();
  Point offset = contentOffset();
  contentInset_ = inset;
  if (offset.x == atStart.x) offset.x = -inset.left;
  if (offset.y == atStart.y) offset.y = -inset.top;
  setContentOffset(offset);
  setNeedsDisplay();
}

void ScrollView::setContentSize(Size size) {
  if (size == contentSize_) return;
  contentSize_ = size;
  setContentOffset(contentOffset());
  setNeedsDisplay();
}

void ScrollView::setContentOffset(Point offset, bool) {
  Point minimum = minimumContentOffset();
  Point maximum = maximumContentOffset();
  offset.x = std::clamp(offset.x, minimum.x, maximum.x);
  offset.y = std::clamp(offset.y, minimum.y, maximum.y);
  if (offset == contentOffset()) return;
  Rect b = bounds();
  setBounds(Rect(offset, b.size));
  didScroll();
  if (auto scrolled = onScroll) scrolled(*this);
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated) {
  Rect b = insetRect(bounds(), contentInset_);
  Point offset = contentOffset();
  // `b` is the clear part; the offset is where the whole bounds start.
  Point shift{b.x() - offset.x, b.y() - offset.y};
  Point clear = b.origin;
  if (rect.maxY() > b.maxY()) clear.y = rect.maxY() - b.height();
  if (rect.y() < clear.y) clear.y = rect.y();
  if (rect.maxX() > b.maxX()) clear.x = rect.maxX() - b.width();
  if (rect.x() < clear.x) clear.x = rect.x();
  setContentOffset(Point{clear.x - shift.x, clear.y - shift.y}, animated);
}

bool ScrollView::scrollWheel(double dx, double dy) {
  Point before = contentOffset();
  if (scrollEnabled_) setContentOffset(Point{before.x + dx, before.y + dy});
  if (contentOffset() == before) return View::scrollWheel(dx, dy);  // at an end: the outer view scrolls
  flashIndicators();
  return true;
}

bool ScrollView::scrollForKey(KeyCommand command) {
  constexpr double line = 40;  // as one notch of a wheel
  if (!scrollEnabled_) return false;
  Point before = contentOffset();
  Point to = before;
  // A page is what shows between the insets (not what the bar covers).
  double page = insetRect(bounds(), contentInset_).height();
  switch (command) {
    case KeyCommand::LineUp:
      to.y -= line;
      break;
    case KeyCommand::LineDown:
      to.y += line;
      break;
    case KeyCommand::LineLeft:
      to.x -= line;
      break;
    case KeyCommand::LineRight:
      to.x += line;
      break;
    case KeyCommand::PageUp:
      to.y -= page;
      break;
    case KeyCommand::PageDown:
      to.y += page;
      break;
    case KeyCommand::Home:
      to.y = minimumContentOffset().y;
      break;
    case KeyCommand::End:
      to.y = maximumContentOffset().y;
      break;
    default:
      return false;
  }
  setContentOffset(to);
  if (contentOffset() == before) return false;
  flashIndicators();
  return true;
}

void ScrollView::touchesBegan(const Touch& touch) {
  tracking_ = true;
  dragging_ = false;
  touchStart_ = touch.windowLocation;
  offsetAtStart_ = contentOffset();
  touchDownAt(touch.location(*this));
}

void ScrollView::touchesMoved(const Touch& touch) {
  if (!tracking_) return;
  Point p = touch.windowLocation;
  if (!dragging_) {
    if (std::hypot(p.x - touchStart_.x, p.y - touchStart_.y) <= dragThreshold) return;
    dragging_ = true;
    touchAbandoned();
  }
  // The content follows the pointer from where it went down: a drag of n
  // points scrolls n points.

  if (!scrollEnabled_) return;
  setContentOffset(Point{offsetAtStart_.x - (p.x - touchStart_.x), offsetAtStart_.y - (p.y - touchStart_.y)});
  flashIndicators();
}

void ScrollView::touchesEnded(const Touch& touch) {
  if (!tracking_) return;
  bool tapped = !dragging_;
  tracking_ = false;
  dragging_ = false;
  Point p = touch.location(*this);
  if (tapped && bounds().contains(p)) {
    tapAt(p);
  } else if (tapped) {
    touchAbandoned();
  }
}

void ScrollView::touchesCancelled(const Touch&) {
  if (!tracking_) return;
  bool wasDragging = dragging_;
  tracking_ = false;
  dragging_ = false;
  if (!wasDragging) touchAbandoned();
}

void ScrollView::flashIndicators() {
  indicatorsShown_ = true;
  setNeedsDisplay();
  if (indicatorTimer_) indicatorTimer_->invalidate();
  std::weak_ptr<View> weak = weak_from_this();
  indicatorTimer_ = Timer::scheduled(indicatorSeconds, false, [weak](Timer&) {
    if (auto self = std::static_pointer_cast<ScrollView>(weak.lock())) {
      self->indicatorsShown_ = false;
      self->setNeedsDisplay();
    }
  });
}

// The bars run along the part of the bounds the content inset leaves clear.
Rect ScrollView::verticalIndicatorRect() const {
  Rect b = insetRect(bounds(), contentInset_);
  if (contentSize_.height <= b.height() || b.height() <= 0) return Rect();
  double track = b.height() - 2 * indicatorInset;
  double minimum = minimumContentOffset().y;
  auto [start, length] =
      indicatorSpan(track, b.height(), contentSize_.height, bounds().y() - minimum, maximumContentOffset().y - minimum);
  return Rect(b.maxX() - indicatorInset - indicatorThickness, b.y() + indicatorInset + start, indicatorThickness,
              length);
}

Rect ScrollView::horizontalIndicatorRect() const {
  Rect b = insetRect(bounds(), contentInset_);
  if (contentSize_.width <= b.width() || b.width() <= 0) return Rect();
  double track = b.width() - 2 * indicatorInset;
  double minimum = minimumContentOffset().x;
  auto [start, length] =
      indicatorSpan(track, b.width(), contentSize_.width, bounds().x() - minimum, maximumContentOffset().x - minimum);
  return Rect(b.x() + indicatorInset + start, b.maxY() - indicatorInset - indicatorThickness, length,
              indicatorThickness);
}

void ScrollView::drawOverSubviews(GraphicsContext& context, const Rect&) {
  if (!indicatorsShown_) return;
  Color bar = Color::white(0, 0.35);
  if (showsVertical_) {
    if (Rect r = verticalIndicatorRect(); !r.isEmpty()) context.fillRoundedRect(r, indicatorThickness / 2, bar);
  }
  if (showsHorizontal_) {
    if (Rect r = horizontalIndicatorRect(); !r.isEmpty()) context.fillRoundedRect(r, indicatorThickness / 2, bar);
  }
}

}  // namespace ui
