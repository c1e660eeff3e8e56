#include "ui/Label.h"

namespace ui {

Label::Label(const Rect& frame) : View(frame) { setUserInteractionEnabled(false); }

void Label::setText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  setNeedsDisplay();
}

void Label::setFont(const Font& font) {
  font_ = font;
  setNeedsDisplay();
}

void Label::setTextColor(const Color& color) {
  textColor_ = color;
  setNeedsDisplay();
}

void Label::setTextAlignment(TextAlignment alignment) {
  alignment_ = alignment;
  setNeedsDisplay();
}

void Label::setShadowColor(const Color& color) {
  shadowColor_ = color;
  setNeedsDisplay();
}

void Label::setShadowOffset(Size offset) {
  shadowOffset_ = offset;
  setNeedsDisplay();
}

void Label::draw(GraphicsContext& context, const Rect&) {
  if (text_.empty()) return;
  Size measured = font_.measure(text_);
  Rect line(0, (bounds().height() - measured.height) / 2, bounds().width(), measured.height);
  if (!shadowColor_.isClear()) {
    context.drawText(text_, line.offsetBy(shadowOffset_.width, shadowOffset_.height), font_, shadowColor_, alignment_);
  }
  context.drawText(text_, line, font_, textColor_, alignment_);
}

}  // namespace ui
