#pragma once

#include <string>

#include "ui/Font.h"
#include "ui/GraphicsContext.h"
#include "ui/View.h"

namespace ui {

// One line of text, vertically centred in the bounds, never wrapped.
class Label : public View {
 public:
  explicit Label(const Rect& frame = {});

  const std::string& text() const { return text_; }
  void setText(const std::string& text);
  const Font& font() const { return font_; }
  void setFont(const Font& font);
  Color textColor() const { return textColor_; }
  void setTextColor(const Color& color);
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment);
  // The shadow is drawn only when its colour is not clear.
  Color shadowColor() const { return shadowColor_; }
  void setShadowColor(const Color& color);
  Size shadowOffset() const { return shadowOffset_; }
  void setShadowOffset(Size offset);

  void draw(GraphicsContext& context, const Rect& dirty) override;

 private:
  std::string text_;
  Font font_ = Font::system(17);
  Color textColor_ = Color::black();
  TextAlignment alignment_ = TextAlignment::Left;
  Color shadowColor_ = Color::clear();
  Size shadowOffset_{0, -1};
};

}  // namespace ui
