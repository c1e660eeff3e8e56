#include "Bevel/BVLLabel.h"

#include "GameLook.h"

namespace {

ui::Color colorForStyle(int style) {
  return style == BVLLabel::DetailStyle ? ui::Color::hex(0xa8a8a8) : ui::Color::hex(0xffffff);
}

}  // namespace

BVLLabel::BVLLabel(const ui::Rect& frame) : ui::Label(frame) {
  setFont(bevel::gameFont());
  setStyle(0);
  setShadowOffset(ui::Size{bevel::texel, bevel::texel});
}

void BVLLabel::setStyle(int style) {
  style_ = style;
  setTextColor(colorForStyle(style));
  setShadowColor(bevel::shadowColorFor(colorForStyle(style)));
}
