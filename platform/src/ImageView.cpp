#include "ui/ImageView.h"

#include <algorithm>

#include "ui/GraphicsContext.h"

namespace ui {

ImageView::ImageView(const Rect& frame, std::shared_ptr<Image> image) : View(frame), image_(std::move(image)) {
  // Image views ignore touches unless asked, as on the phone.
  setUserInteractionEnabled(false);
}

void ImageView::setImage(std::shared_ptr<Image> image) {
  image_ = std::move(image);
  setNeedsDisplay();
}

void ImageView::setContentMode(ContentMode mode) {
  contentMode_ = mode;
  setNeedsDisplay();
}

Rect ImageView::imageRect() const {
  Rect b = bounds();
  if (!image_) return Rect();
  Size s = image_->size();
  switch (contentMode_) {
    case ContentMode::Center:
      return Rect(b.x() + (b.width() - s.width) / 2, b.y() + (b.height() - s.height) / 2, s.width, s.height);
    case ContentMode::ScaleAspectFit:
    case ContentMode::ScaleAspectFill: {
      if (s.width <= 0 || s.height <= 0) return Rect();
      double kx = b.width() / s.width, ky = b.height() / s.height;
      double k = contentMode_ == ContentMode::ScaleAspectFit ? std::min(kx, ky) : std::max(kx, ky);
      double w = s.width * k, h = s.height * k;
      return Rect(b.x() + (b.width() - w) / 2, b.y() + (b.height() - h) / 2, w, h);
    }
    default:
      return b;
  }
}

void ImageView::draw(GraphicsContext& context, const Rect&) {
  if (image_) context.drawImage(*image_, imageRect());
}

}  // namespace ui
