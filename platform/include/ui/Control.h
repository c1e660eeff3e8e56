#pragma once

#include <functional>

#include "ui/View.h"

namespace ui {

// The phone toolkit's control state flags, for per-state titles and images.
enum class ControlState { Normal = 0, Highlighted = 1 << 0, Disabled = 1 << 1, Selected = 1 << 2 };

// A view that tracks a touch: highlighted while the touch is down and inside,
// and a tap released inside runs `onTouchUpInside`.
class Control : public View {
 public:
  explicit Control(const Rect& frame = {});

  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool isHighlighted() const { return highlighted_; }
  bool isSelected() const { return selected_; }
  void setSelected(bool selected);

  std::function<void(Control&)> onTouchUpInside;

  void touchesBegan(const Touch& touch) override;
  void touchesMoved(const Touch& touch) override;
  void touchesEnded(const Touch& touch) override;
  void touchesCancelled(const Touch& touch) override;

 protected:
  virtual void setHighlighted(bool highlighted);
  // Subclasses that track drags (sliders) override these; the base only
  // follows whether the touch is inside.
  virtual void beginTracking(const Touch&) {}
  virtual void continueTracking(const Touch&) {}
  virtual void endTracking(const Touch&, bool /*inside*/) {}

 private:
  bool enabled_ = true;
  bool highlighted_ = false;
  bool selected_ = false;
  bool tracking_ = false;
};

}  // namespace ui
