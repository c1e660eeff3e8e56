#include "Bevel/BVLSlider.h"

#include <algorithm>
#include <cmath>

#include "GameLook.h"
#include "ui/GraphicsContext.h"

namespace {
constexpr double knobWidth = 8 * bevel::texel;
}

BVLSlider::BVLSlider(const ui::Rect& frame, long spotCount, Callback callback)
    : ui::Control(frame), spotCount_(std::max(0L, spotCount)), callback_(std::move(callback)) {}

float BVLSlider::snapped(float position) const {
  if (std::isnan(position)) position = 0;
  position = std::clamp(position, 0.0f, 1.0f);
  if (spotCount_ == 1) return 0;
  if (spotCount_ > 1) {
    float steps = float(spotCount_ - 1);
    return std::round(position * steps) / steps;
  }
  return position;
}

void BVLSlider::setPosition(float position) {
  float next = snapped(position);
  if (next == position_) return;
  position_ = next;
  setNeedsDisplay();
}

void BVLSlider::setValueText(double width, ValueText text) {
  valueWidth_ = text ? std::max(0.0, width) : 0;
  valueText_ = std::move(text);
  setNeedsDisplay();
}

ui::Rect BVLSlider::trackBounds() const {
  ui::Rect b = bounds();
  double width = std::min(valueWidth_, b.width());
  return ui::Rect(b.x() + width, b.y(), b.width() - width, b.height());
}

long BVLSlider::spot() const {
  if (spotCount_ <= 1) return 0;
  return std::lround(position_ * float(spotCount_ - 1));
}

ui::Rect BVLSlider::knobFrame(float position) const {
  ui::Rect b = trackBounds();
  double travel = std::max(0.0, b.width() - knobWidth);
  double x = std::round(b.x() + travel * std::clamp(double(position), 0.0, 1.0));
  return ui::Rect(x, b.y(), std::min(knobWidth, b.width()), b.height());
}

float BVLSlider::positionAt(double x) const {
  ui::Rect b = trackBounds();
  double travel = b.width() - knobWidth;
  if (travel <= 0) return 0;
  // The finger holds the knob by its middle.
  return float(std::clamp((x - b.x() - knobWidth / 2) / travel, 0.0, 1.0));
}

void BVLSlider::beginTracking(const ui::Touch& touch) {
  positionAtStart_ = position_;
  setPosition(positionAt(touch.location(*this).x));
}

void BVLSlider::continueTracking(const ui::Touch& touch) { setPosition(positionAt(touch.location(*this).x)); }

void BVLSlider::endTracking(const ui::Touch& touch, bool) {
  setPosition(positionAt(touch.location(*this).x));
  if (position_ == positionAtStart_) return;
  auto callback = callback_;
  if (callback) callback(*this, position_, spot());
}

void BVLSlider::draw(ui::GraphicsContext& context, const ui::Rect&) {
  if (valueText_) {
    ui::Rect b = bounds();
    ui::Rect place(b.x(), b.y(), std::max(0.0, valueWidth_ - 4 * bevel::texel), b.height());
    bevel::drawGameText(context, valueText_(position_), place, bevel::gameFont(), ui::Color::white(1),
                        ui::TextAlignment::Right);
  }
  ui::Rect b = trackBounds();
  double trackHeight = 6 * bevel::texel;
  ui::Rect track(b.x(), std::round(b.y() + (b.height() - trackHeight) / 2), b.width(), trackHeight);
  bevel::drawSunkenBox(context, track, ui::Color::hex(0x2a2a2a));
  // The part already passed is lit, so the value reads at a glance.
  ui::Rect knob = knobFrame(position_);
  ui::Rect filled = ui::insetRect(track, {2 * bevel::texel, 2 * bevel::texel, 2 * bevel::texel, 2 * bevel::texel});
  filled.size.width = std::max(0.0, knob.x() + knob.width() / 2 - filled.x());
  context.fillRect(filled, ui::Color::hex(0x7b86c2));
  if (spotCount_ > 1) {
    for (long i = 0; i < spotCount_; ++i) {
      ui::Rect at = knobFrame(float(i) / float(spotCount_ - 1));
      double x = std::round(at.x() + at.width() / 2 - bevel::texel / 2);
      context.fillRect(ui::Rect(x, track.maxY(), bevel::texel, bevel::texel * 2), ui::Color::hex(0xa0a0a0));
    }
  }
  bevel::drawButtonPiece(context, knob, isHighlighted() ? bevel::ButtonLook::Pressed : bevel::ButtonLook::Normal);
}
