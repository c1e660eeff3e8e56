// The demo game's font, measured through the platform. Its glyphs are as wide
// as their ink and one texel, at two points a texel at 16 points: "Edit..." is
// 6 + 6 + 2 + 4 + 3 x 2 texels. The widths below are the sums of the advances
// in the font file's own tables; a fallback face, or the font at another size,
// gives others.
#include <gtest/gtest.h>

#include "TestBundle.h"
#include "ui/Font.h"

namespace {

using GameFont = bevel::testing::OnDemoBundle;

TEST_F(GameFont, TextIsMeasuredInTheGamesFaceWithNarrowLettersNarrower) {
  ui::Font font = ui::Font::named("Minecraft", 16);
  ASSERT_TRUE(font.isAvailable());
  struct Case {
    const char* text;
    double width;
  } cases[] = {
      {"Edit...", 48},
      {"m", 12},
      {"W", 12},
      {"n", 12},
      {"i", 4},
      {"l", 6},
      {"t", 8},
      {".,:!", 18},
      {" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~", 1028},
      {"ÀÉÎõüçßÆØÿ", 116},
  };
  for (const Case& c : cases) EXPECT_EQ(font.measure(c.text).width, c.width) << c.text;
  // A line is 8 texels up and 1 down; a capital stands 7 texels high.
  EXPECT_EQ(font.measure("Edit...").height, 18);
  EXPECT_DOUBLE_EQ(font.ascent(), 16);
}

}  // namespace
