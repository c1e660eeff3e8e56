#include "ui/Control.h"

namespace ui {

Control::Control(const Rect& frame) : View(frame) {}

void Control::setEnabled(bool enabled) {
  enabled_ = enabled;
  setUserInteractionEnabled(enabled);
  setNeedsDisplay();
}

void Control::setSelected(bool selected) {
  selected_ = selected;
  setNeedsDisplay();
}

void Control::setHighlighted(bool highlighted) {
  if (highlighted == highlighted_) return;
  highlighted_ = highlighted;
  setNeedsDisplay();
}

void Control::touchesBegan(const Touch& touch) {
  if (!enabled_) return;
  tracking_ = true;
  setHighlighted(true);
  beginTracking(touch);
}

void Control::touchesMoved(const Touch& touch) {
  if (!tracking_) return;
  // A finger keeps a button pressed a little beyond its edge, as on the phone.
  Point p = touch.location(*this);
  Rect slop(-20, -20, bounds().width() + 40, bounds().height() + 40);
  setHighlighted(slop.contains(p));
  continueTracking(touch);
}

void Control::touchesEnded(const Touch& touch) {
  if (!tracking_) return;
  tracking_ = false;
  Point p = touch.location(*this);
  Rect slop(-20, -20, bounds().width() + 40, bounds().height() + 40);
  bool inside = slop.contains(p);
  setHighlighted(false);
  endTracking(touch, inside);
  if (inside && onTouchUpInside) {
    auto action = onTouchUpInside;  // the action may replace itself
    action(*this);
  }
}

void Control::touchesCancelled(const Touch& touch) {
  if (!tracking_) return;
  tracking_ = false;
  setHighlighted(false);
  endTracking(touch, false);
}

}  // namespace ui
