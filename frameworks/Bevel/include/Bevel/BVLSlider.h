#pragma once

#include <functional>
#include <string>

#include "ui/Control.h"

// A slider in the game's look: a sunken track and a stone knob. The position
// runs from 0 (left) to 1 (right). With a spot count n > 1 the knob rests
// only on n evenly spaced stops (0, 1/(n-1), ..., 1), marked on the track;
// with 0 it moves freely; 1 is a single stop at 0.
//
// The knob follows the finger; when the finger lifts, `callback` runs once
// with the new position and its stop index (0 for a free slider), if the
// position changed. setPosition never runs it.
class BVLSlider : public ui::Control {
 public:
  using Callback = std::function<void(BVLSlider&, float position, long spot)>;

  BVLSlider(const ui::Rect& frame, long spotCount, Callback callback);

  long spotCount() const { return spotCount_; }
  float position() const { return position_; }
  // Clamped to 0...1 (not-a-number is 0) and snapped to the nearest stop.
  void setPosition(float position);
  // The stop nearest to the position; 0 for a free slider.
  long spot() const;

  // A value shown at the left, right-aligned in the first `width` points,
  // the track taking the rest: `text` gives it for the knob's position, so
  // that it follows the knob while the finger moves it.
  using ValueText = std::function<std::string(float position)>;
  void setValueText(double width, ValueText text);
  std::string valueText() const { return valueText_ ? valueText_(position_) : std::string(); }

  // Where the knob sits for a position, in bounds coordinates, and the
  // position a touch at x asks for (before snapping).
  ui::Rect knobFrame(float position) const;
  float positionAt(double x) const;

  void draw(ui::GraphicsContext& context, const ui::Rect& dirty) override;

 protected:
  void beginTracking(const ui::Touch& touch) override;
  void continueTracking(const ui::Touch& touch) override;
  void endTracking(const ui::Touch& touch, bool inside) override;

 private:
  float snapped(float position) const;
  ui::Rect trackBounds() const;

  long spotCount_;
  Callback callback_;
  float position_ = 0;
  float positionAtStart_ = 0;
  double valueWidth_ = 0;
  ValueText valueText_;
};
