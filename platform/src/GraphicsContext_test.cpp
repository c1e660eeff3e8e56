#include "ui/GraphicsContext.h"

#include <vector>

#include <gtest/gtest.h>

#include "ui/Image.h"
#include "ui/PictureCheck.h"
#include "ui/Screen.h"
#include "ui/TestDriver.h"

namespace ui {
namespace {

const Color red = Color::rgba(1, 0, 0), green = Color::rgba(0, 1, 0), blue = Color::rgba(0, 0, 1),
            white = Color::white(1), clear = Color::clear();

// A picture of pixels given row by row, at one pixel a point.
std::shared_ptr<Image> pixels(const std::vector<std::vector<Color>>& rows) {
  ImageContext bitmap(Size{double(rows[0].size()), double(rows.size())}, false, 1);
  for (size_t y = 0; y < rows.size(); ++y) {
    for (size_t x = 0; x < rows[y].size(); ++x) bitmap.context().fillRect(Rect(double(x), double(y), 1, 1), rows[y][x]);
  }
  return bitmap.image();
}

std::function<std::optional<Color>(Point)> inside(const Rect& rect, Color in, Color out = clear) {
  return [=](Point p) -> std::optional<Color> { return rect.contains(p) ? in : out; };
}

TEST(GraphicsContextFill, CoversExactlyItsRectangleAtEveryScale) {
  struct Case {
    double scale;
    Rect rect;
  };
  // Half points are whole pixels at scale 2, thirds at scale 3.
  const Case cases[] = {{1, Rect(2, 3, 5, 4)}, {2, Rect(1.5, 0.5, 3, 2.5)}, {3, Rect(1 / 3.0, 1, 9, 2 / 3.0)}};
  for (const Case& c : cases) {
    ImageContext bitmap(Size{12, 8}, false, c.scale);
    bitmap.context().fillRect(c.rect, red);
    bitmap.context().fillRect(Rect(0, 0, 12, 8), clear);  // clear paints nothing
    auto picture = bitmap.image();
    ASSERT_EQ(picture->pixelWidth(), int(12 * c.scale));
    EXPECT_EQ(pictureDifferences(*picture, inside(c.rect, red), 0), "") << "scale " << c.scale;
  }
}

TEST(GraphicsContextImages, PicturesScaleUpByNearestNeighbour) {
  auto quarters = pixels({{red, green}, {blue, white}});
  for (double scale : {1.0, 2.0}) {
    ImageContext bitmap(Size{10, 10}, false, scale);
    bitmap.context().drawImage(*quarters, Rect(1, 1, 8, 8));
    auto expected = [](Point p) -> std::optional<Color> {
      if (!Rect(1, 1, 8, 8).contains(p)) return clear;
      bool right = p.x >= 5, lower = p.y >= 5;
      return lower ? (right ? white : blue) : (right ? green : red);
    };
    // Not one blended pixel along the seams: pixel art stays crisp.
    EXPECT_EQ(pictureDifferences(*bitmap.image(), expected, 0), "") << "scale " << scale;
  }
}

TEST(GraphicsContextState, TranslationClipAndOpacityNestAndComeBackOnRestore) {
  ImageContext bitmap(Size{16, 8}, false, 2);
  GraphicsContext& context = bitmap.context();
  context.save();
  context.translate(2, 1);
  context.clipToRect(Rect(0, 0, 4, 4));
  context.setOpacity(0.5);
  context.setOpacity(0.5);  // multiplies
  EXPECT_DOUBLE_EQ(context.opacity(), 0.25);
  context.fillRect(Rect(-10, -10, 40, 40), red);
  context.save();
  context.clipToRect(Rect(3, 3, 10, 10));  // clips within the clip
  context.fillRect(Rect(0, 0, 40, 40), blue);
  context.restore();
  context.restore();
  EXPECT_DOUBLE_EQ(context.opacity(), 1);
  context.fillRect(Rect(10, 0, 2, 2), green);  // no translation, no clip any more

  auto expected = [](Point p) -> std::optional<Color> {
    if (Rect(10, 0, 2, 2).contains(p)) return green;
    if (Rect(5, 4, 1, 1).contains(p)) return Color::rgba(0.4286, 0, 0.5714, 0.4375);  // blue at 0.25 over red at 0.25
    if (Rect(2, 1, 4, 4).contains(p)) return Color::rgba(1, 0, 0, 0.25);
    return clear;
  };
  EXPECT_EQ(pictureDifferences(*bitmap.image(), expected, 3), "");
}

// The ink of a picture: the smallest rectangle (points) holding every pixel
// that is not transparent.
Rect inkOf(const Image& picture) {
  int left = picture.pixelWidth(), top = picture.pixelHeight(), right = -1, bottom = -1;
  for (int y = 0; y < picture.pixelHeight(); ++y) {
    for (int x = 0; x < picture.pixelWidth(); ++x) {
      if ((picture.pixel(x, y) >> 24) == 0) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return Rect();
  double s = picture.scale();
  return Rect(left / s, top / s, (right + 1 - left) / s, (bottom + 1 - top) / s);
}

TEST(GraphicsContextText, ALineIsAlignedInsideItsRectangleFromItsTop) {
  TestDriver driver;  // fonts need the application
  Font font = Font::system(14);
  const std::string text = "HHHHHH";
  double width = font.measure(text).width;
  ASSERT_GT(width, 20);
  struct Case {
    TextAlignment alignment;
    double expectedLeft;
  };
  Rect rect(10, 6, 150, 30);
  for (const Case& c : {Case{TextAlignment::Left, rect.x()}, Case{TextAlignment::Center, rect.x() + (150 - width) / 2},
                        Case{TextAlignment::Right, rect.maxX() - width}}) {
    ImageContext bitmap(Size{170, 40}, false, 2);
    bitmap.context().drawText(text, rect, font, red, c.alignment);
    Rect ink = inkOf(*bitmap.image());
    SCOPED_TRACE(int(c.alignment));
    // Capitals' ink starts within a side bearing of the advance and fills it.
    EXPECT_NEAR(ink.x(), c.expectedLeft, 2.5);
    EXPECT_NEAR(ink.width(), width, 4);
    // Their tops hang just under the rectangle's top, their feet on the baseline.
    EXPECT_GE(ink.y(), rect.y());
    EXPECT_NEAR(ink.maxY(), rect.y() + font.ascent(), 1.5);
  }
}

TEST(ImageContext, APictureHandedOutStaysAsItWasWhileDrawingGoesOn) {
  ImageContext bitmap(Size{4, 4}, true, 1);
  auto opaqueStart = bitmap.image();
  bitmap.context().fillRect(Rect(0, 0, 4, 4), red);
  auto first = bitmap.image();
  bitmap.context().fillRect(Rect(0, 0, 2, 2), blue);
  // A translucent colour over an opaque bitmap blends and stays opaque.
  bitmap.context().fillRect(Rect(0, 0, 1, 1), Color::rgba(0, 1, 0, 0.5));
  EXPECT_EQ(pictureDifferences(*opaqueStart, inside(Rect(), red, Color::black()), 0), "") << "opaque starts black";
  EXPECT_EQ(pictureDifferences(*first, inside(Rect(0, 0, 4, 4), red), 0), "");
  auto last = [](Point p) -> std::optional<Color> {
    if (Rect(0, 0, 1, 1).contains(p)) return Color::rgba(0, 0.5, 0.5);
    return Rect(0, 0, 2, 2).contains(p) ? blue : red;
  };
  EXPECT_EQ(pictureDifferences(*bitmap.image(), last, 1), "");

  ImageContext transparent(Size{3, 2}, false, 0);  // 0: the main screen's scale
  double scale = Screen::main().scale();
  EXPECT_EQ(transparent.image()->pixelWidth(), int(3 * scale));
  EXPECT_EQ(transparent.image()->size(), (Size{3, 2}));
  EXPECT_EQ(transparent.image()->pixel(0, 0), 0u);
}

}  // namespace
}  // namespace ui
