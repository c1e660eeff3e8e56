#include "Bevel/BVLButton.h"

#include <cmath>

#include "GameLook.h"
#include "ui/GraphicsContext.h"

BVLButton::BVLButton(const ui::Rect& frame, Callback callback)
    : ui::Control(frame), callback_(std::move(callback)), font_(bevel::gameFont()) {
  onTouchUpInside = [this](ui::Control&) {
    auto callback = callback_;  // the closure may replace the button's state
    if (callback) callback(*this);
  };
}

void BVLButton::setTitle(const std::string& title, ui::ControlState state) {
  if (state != ui::ControlState::Normal) return;
  title_ = title;
  setNeedsDisplay();
}

void BVLButton::setImage(std::shared_ptr<ui::Image> image, ui::ControlState state) {
  if (state != ui::ControlState::Normal) return;
  image_ = std::move(image);
  setNeedsDisplay();
}

void BVLButton::setFont(const ui::Font& font) {
  font_ = font;
  setNeedsDisplay();
}

void BVLButton::draw(ui::GraphicsContext& context, const ui::Rect&) {
  using bevel::ButtonLook;
  ButtonLook look = !isEnabled() ? ButtonLook::Disabled : isHighlighted() ? ButtonLook::Pressed : ButtonLook::Normal;
  ui::Rect b = bounds();
  bevel::drawButtonPiece(context, b, look);
  // The face's dark bottom band is a texel thicker than its light top, so the
  // visual middle sits half a texel higher than the geometric one.
  ui::Rect face(b.x(), b.y(), b.width(), b.height() - bevel::texel);
  if (image_) {
    ui::Size s = image_->size();
    context.drawImage(*image_, ui::Rect(std::round(face.x() + (face.width() - s.width) / 2),
                                        std::round(face.y() + (face.height() - s.height) / 2), s.width, s.height));
  }
  if (!title_.empty()) {
    unsigned color = look == ButtonLook::Disabled ? 0xa0a0a0 : look == ButtonLook::Pressed ? 0xffffa0 : 0xe0e0e0;
    bevel::drawGameText(context, title_, face, font_, ui::Color::hex(color));
  }
}
