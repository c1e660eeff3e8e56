#pragma once

#include <QImage>

namespace ui {

// The pixels behind a ui::Image.
class ImageData {
 public:
  explicit ImageData(QImage image) : image(std::move(image)) {}
  QImage image;  // ARGB32 premultiplied
};

}  // namespace ui
