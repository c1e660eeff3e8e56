#include "ui/GraphicsContext.h"

#include <gtest/gtest.h>

#include "ui/Image.h"
#include "ui/PictureCheck.h"
#include "ui/Screen.h"

namespace ui {
namespace {

const Color red = Color::rgba(1, 0, 0), green = Color::rgba(0, 1, 0), blue = Color::rgba(0, 0, 1),
            clear = Color::clear();

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
