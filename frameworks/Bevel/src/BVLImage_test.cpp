#include "Bevel/BVLImage.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "TestBundle.h"
#include "ui/Screen.h"
#include "ui/TestDriver.h"

namespace {

using GamePictures = bevel::testing::OnDemoBundle;

namespace fs = std::filesystem;

int opaquePixels(const ui::Image& image) {
  int count = 0;
  for (int y = 0; y < image.pixelHeight(); ++y)
    for (int x = 0; x < image.pixelWidth(); ++x) count += (image.pixel(x, y) >> 24) > 0;
  return count;
}

TEST_F(GamePictures, TheDemoBundleHasArtAtEveryRectangleTheScreensCut) {
  struct Case {
    const char* picture;
    ui::Rect cut;
    int minimumOpaque;
  } cases[] = {
      {"touchgui", {219, 0, 20, 20}, 120},      // the options icon
      {"spritesheet", {34, 43, 14, 14}, 196},   // the panel, every pixel
      {"spritesheet", {8, 32, 8, 8}, 64},       // world row
      {"spritesheet", {0, 32, 8, 8}, 64},       // chosen world row
      {"gui", {200, 46, 16, 16}, 256},          // inventory slot
      {"gui", {0, 66, 200, 20}, 4000},          // button
      {"gui", {0, 86, 200, 20}, 4000},          // pressed button
      {"items-opaque", {192, 64, 16, 16}, 20},  // empty boots slot
      {"items-opaque", {208, 64, 16, 16}, 20},  // chestplate
      {"items-opaque", {224, 64, 16, 16}, 20},  // helmet
      {"items-opaque", {240, 64, 16, 16}, 20},  // leggings
  };
  for (const Case& c : cases) {
    auto piece = bvl_subImageWithFrame(bvl_imageNamed(c.picture, "png"), c.cut);
    ASSERT_TRUE(piece) << c.picture;
    EXPECT_EQ(piece->pixelWidth(), int(c.cut.width()));
    EXPECT_GE(opaquePixels(*piece), c.minimumOpaque) << c.picture << " at " << c.cut.x() << "," << c.cut.y();
  }
}

TEST_F(GamePictures, LooksInGuiFirstThenImagesAndSharesWhatItRead) {
  fs::path bundle = fs::temp_directory_path() / "bevel-bundle-test";
  fs::remove_all(bundle);
  fs::create_directories(bundle / "data/images/gui");
  fs::path demo = bevel::testing::demoBundle();
  fs::copy_file(demo / "data/images/gui/touchgui.png", bundle / "data/images/gui/both.png");
  fs::copy_file(demo / "data/images/gui/spritesheet.png", bundle / "data/images/both.png");
  fs::copy_file(demo / "data/images/gui/spritesheet.png", bundle / "data/images/only.png");
  bvl_setGameBundlePath(bundle.string());
  auto both = bvl_imageNamed("both", "png");
  ASSERT_TRUE(both);
  EXPECT_NE(both->pixel(228, 4) >> 24, 0u);  // the gear, so the gui/ copy won
  EXPECT_TRUE(bvl_imageNamed("only", "png"));
  EXPECT_EQ(bvl_imageNamed("both", "png"), both);  // read once, shared
  EXPECT_FALSE(bvl_imageNamed("missing", "png"));
  EXPECT_FALSE(bvl_imageNamed("both", "jpg"));
  bvl_setGameBundlePath("");
  unsetenv("TARNBOOK_GAME_APP");
  EXPECT_FALSE(bvl_imageNamed("both", "png"));
  setenv("TARNBOOK_GAME_APP", bundle.c_str(), 1);
  EXPECT_TRUE(bvl_imageNamed("only", "png"));
  unsetenv("TARNBOOK_GAME_APP");
  fs::remove_all(bundle);
  EXPECT_FALSE(bvl_subImageWithFrame(nullptr, {0, 0, 1, 1}));
  EXPECT_FALSE(bvl_resize(nullptr, {1, 1}));
}

TEST_F(GamePictures, ResizeKeepsTexelsHard) {
  auto slot = bvl_subImageWithFrame(bvl_imageNamed("gui", "png"), {200, 46, 16, 16});
  ASSERT_TRUE(slot);
  double scale = ui::Screen::main().scale();
  auto big = bvl_resize(slot, {48, 48});
  ASSERT_TRUE(big);
  EXPECT_EQ(big->size(), (ui::Size{48, 48}));
  // Nearest neighbour: every device pixel is exactly one of the source's.
  int k = int(3 * scale);
  for (int y = 0; y < big->pixelHeight(); ++y)
    for (int x = 0; x < big->pixelWidth(); ++x) ASSERT_EQ(big->pixel(x, y), slot->pixel(x / k, y / k)) << x << "," << y;
}

}  // namespace
