#pragma once

#include <memory>

#include "ui/Image.h"
#include "ui/View.h"

namespace ui {

// The phone toolkit's content mode numbers.
enum class ContentMode {
  ScaleToFill = 0,
  ScaleAspectFit = 1,
  ScaleAspectFill = 2,
  Redraw = 3,
  Center = 4,
};

class ImageView : public View {
 public:
  explicit ImageView(const Rect& frame = {}, std::shared_ptr<Image> image = nullptr);

  std::shared_ptr<Image> image() const { return image_; }
  void setImage(std::shared_ptr<Image> image);
  ContentMode contentMode() const { return contentMode_; }
  void setContentMode(ContentMode mode);

  // Where the image lands in bounds coordinates for the content mode.
  Rect imageRect() const;
  void draw(GraphicsContext& context, const Rect& dirty) override;

 private:
  std::shared_ptr<Image> image_;
  ContentMode contentMode_ = ContentMode::ScaleToFill;
};

}  // namespace ui
