#pragma once

#include <functional>

#include "ui/Control.h"

// An on/off switch in the game's look: a sunken track with a stone knob that
// sits right and shows "ON" on a green track when on, and sits left showing
// "OFF" when off. A tap anywhere on it flips it.
//
// `callback` runs with the new state after each flip by the user; setOn
// never runs it.
class BVLSwitch : public ui::Control {
 public:
  using Callback = std::function<void(BVLSwitch&, bool)>;

  BVLSwitch(const ui::Rect& frame, Callback callback);

  bool isOn() const { return on_; }
  void setOn(bool on);

  // The knob's frame in bounds coordinates for a state (measure, then draw).
  ui::Rect knobFrame(bool on) const;
  void draw(ui::GraphicsContext& context, const ui::Rect& dirty) override;

 private:
  Callback callback_;
  bool on_ = false;
};
