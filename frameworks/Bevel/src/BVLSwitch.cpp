#include "Bevel/BVLSwitch.h"

#include <cmath>

#include "GameLook.h"
#include "ui/GraphicsContext.h"

BVLSwitch::BVLSwitch(const ui::Rect& frame, Callback callback) : ui::Control(frame), callback_(std::move(callback)) {
  onTouchUpInside = [this](ui::Control&) {
    on_ = !on_;
    setNeedsDisplay();
    auto callback = callback_;
    if (callback) callback(*this, on_);
  };
}

void BVLSwitch::setOn(bool on) {
  if (on == on_) return;
  on_ = on;
  setNeedsDisplay();
}

ui::Rect BVLSwitch::knobFrame(bool on) const {
  ui::Rect b = bounds();
  // Half the track, on whole texels, so the knob's bevel lines up.
  double width = std::floor(b.width() / 2 / bevel::texel) * bevel::texel;
  return ui::Rect(on ? b.maxX() - width : b.x(), b.y(), width, b.height());
}

void BVLSwitch::draw(ui::GraphicsContext& context, const ui::Rect&) {
  ui::Rect b = bounds();
  bevel::drawSunkenBox(context, b, on_ ? ui::Color::hex(0x3c8527) : ui::Color::hex(0x2a2a2a));
  ui::Rect knob = knobFrame(on_);
  ui::Rect rest = on_ ? ui::Rect(b.x(), b.y(), knob.x() - b.x(), b.height())
                      : ui::Rect(knob.maxX(), b.y(), b.maxX() - knob.maxX(), b.height());
  bevel::drawGameText(context, on_ ? "ON" : "OFF", rest, bevel::gameFont(),
                      on_ ? ui::Color::hex(0xffffff) : ui::Color::hex(0xa0a0a0));
  bevel::drawButtonPiece(context, knob, isHighlighted() ? bevel::ButtonLook::Pressed : bevel::ButtonLook::Normal);
}
