#include "app/ImageFromColor.h"

#include "ui/GraphicsContext.h"

std::shared_ptr<ui::Image> ImageFromColor(const ui::Color& color) {
  ui::ImageContext context(ui::Size{1, 1}, false, 0);
  context.context().fillRect(ui::Rect(0, 0, 1, 1), color);
  return context.image();
}
