#include "app/DetailLabel.h"

#include "ui/Font.h"

std::shared_ptr<BVLLabel> makeDetailLabel(const std::string& text, double x, double y, double size) {
  ui::Font font = ui::Font::named("Minecraft", size);
  ui::Size measured = font.measure(text);
  auto label = std::make_shared<BVLLabel>(ui::Rect(x, y, measured.width, measured.height));
  label->setFont(font);
  label->setText(text);
  label->setStyle(BVLLabel::DetailStyle);
  return label;
}
