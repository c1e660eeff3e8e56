#include "app/SectionHeaderView.h"

#include "external/Bevel.h"
#include "ui/Font.h"

std::shared_ptr<ui::View> makeSectionHeaderView(const std::string& name, double width) {
  auto header = std::make_shared<ui::View>(ui::Rect(0, 0, width, 26));
  // Opaque: the header stays pinned at the top while the rows scroll under it.
  header->setBackgroundColor(ui::Color::white(0.16, 1));
  ui::Size size = ui::Font::named("Minecraft", 16).measure(name);
  auto label = std::make_shared<BVLLabel>(ui::Rect(24, 6, size.width, size.height));
  label->setStyle(BVLLabel::HeaderStyle);
  label->setText(name);
  header->addSubview(label);
  return header;
}
