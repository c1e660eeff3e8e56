#include "Bevel/BVLButton.h"

#include <gtest/gtest.h>

#include "GameLook.h"
#include "TestBundle.h"
#include "ui/GraphicsContext.h"
#include "ui/Image.h"
#include "ui/TestDriver.h"

namespace {

using Button = bevel::testing::OnDemoBundle;

std::shared_ptr<ui::Image> render(BVLButton& button) {
  ui::Size size = button.bounds().size;
  ui::ImageContext bitmap(size, false, 1);
  button.draw(bitmap.context(), button.bounds());
  return bitmap.image();
}

TEST_F(Button, NineSliceKeepsItsCornersAtAnySize) {
  auto picture = bevel::buttonPicture(bevel::ButtonLook::Normal);
  ASSERT_TRUE(picture);
  int pictureWidth = picture->pixelWidth(), pictureHeight = picture->pixelHeight();
  double scale = picture->scale();
  const int cap = 6;  // three texels, in points at scale 1
  ui::Size sizes[] = {{200, 60}, {64, 64}, {76, 38}, {400, 40}, {13, 13}, {600, 100}, {30, 200}};
  for (ui::Size size : sizes) {
    BVLButton button(ui::Rect(0, 0, size.width, size.height), nullptr);
    auto image = render(button);
    ASSERT_EQ(image->pixelWidth(), int(size.width));
    if (size.width < 2 * cap || size.height < 2 * cap) continue;  // too small for both caps
    int w = int(size.width), h = int(size.height);
    for (int y = 0; y < cap; ++y) {
      for (int x = 0; x < cap; ++x) {
        auto source = [&](int px, int py) { return picture->pixel(int(px * scale), int(py * scale)); };
        ASSERT_EQ(image->pixel(x, y), source(x, y)) << size.width << "x" << size.height;
        ASSERT_EQ(image->pixel(w - cap + x, y), source(int(pictureWidth / scale) - cap + x, y));
        ASSERT_EQ(image->pixel(x, h - cap + y), source(x, int(pictureHeight / scale) - cap + y));
        ASSERT_EQ(image->pixel(w - cap + x, h - cap + y),
                  source(int(pictureWidth / scale) - cap + x, int(pictureHeight / scale) - cap + y));
      }
    }
    // The black outline runs along all four edges, however long they are.
    for (int x = 0; x < w; ++x) {
      ASSERT_EQ(image->pixel(x, 0), 0xff000000u) << x;
      ASSERT_EQ(image->pixel(x, h - 1), 0xff000000u) << x;
    }
    for (int y = 0; y < h; ++y) {
      ASSERT_EQ(image->pixel(0, y), 0xff000000u) << y;
      ASSERT_EQ(image->pixel(w - 1, y), 0xff000000u) << y;
    }
  }
}

}  // namespace
