#include "Bevel/BVLPanorama.h"

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "TestBundle.h"
#include "ui/FileReader.h"
#include "ui/GraphicsContext.h"
#include "ui/Image.h"
#include "ui/TestDriver.h"
#include "ui/Timer.h"
#include "ui/Window.h"

namespace {

struct Panorama : bevel::testing::OnDemoBundle {
  std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>(ui::Rect(0, 0, 568, 320));
  std::shared_ptr<BVLPanorama> panorama = std::make_shared<BVLPanorama>(ui::Rect(0, 0, 568, 320));
};

TEST_F(Panorama, ATimerRunsOnlyWhilePanningInAWindowAndShown) {
  struct Step {
    const char* what;
    std::function<void()> act;
    bool animating;
  } steps[] = {
      {"made", [] {}, false},
      {"asked to pan outside a window", [&] { panorama->pan(); }, false},
      {"joins the window", [&] { window->addSubview(panorama); }, true},
      {"hidden", [&] { panorama->setHidden(true); }, false},
      {"shown again", [&] { panorama->setHidden(false); }, true},
      {"stopped", [&] { panorama->setShouldPan(false); }, false},
      {"stopped, leaves and rejoins",
       [&] {
         panorama->removeFromSuperview();
         window->addSubview(panorama);
       },
       false},
      {"resumed", [&] { panorama->pan(); }, true},
      {"panned twice", [&] { panorama->pan(); }, true},
      {"leaves the window", [&] { panorama->removeFromSuperview(); }, false},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(panorama->isAnimating(), step.animating) << step.what;
  }
}

TEST_F(Panorama, MovesWhilePanningAndHoldsStillWhenStopped) {
  window->addSubview(panorama);
  panorama->pan();
  // A repeating timer does not keep the driver busy: run it until `done`,
  // looking every 20 ms, for at most `seconds`.
  auto runUntil = [&](const std::function<bool()>& done, double seconds) {
    double until = ui::currentMediaTime() + seconds;
    while (!done() && ui::currentMediaTime() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      driver.runUntilIdle(0.05);
    }
  };
  double start = panorama->offset(), began = ui::currentMediaTime();
  runUntil([&] { return panorama->offset() >= start + 5; }, 10);
  ASSERT_GE(panorama->offset(), start + 5) << "pans";
  // Ten points a second: five take half a second, not much less.
  EXPECT_GT(ui::currentMediaTime() - began, 0.3);
  panorama->setShouldPan(false);
  double stopped = panorama->offset();
  runUntil([] { return false; }, 0.3);
  EXPECT_EQ(panorama->offset(), stopped);
}

TEST_F(Panorama, OffsetsWrapAroundTheStrip) {
  BVLPanorama strip(ui::Rect(0, -64, 568, 384));
  double width = strip.stripWidth();
  ASSERT_EQ(width, 4 * 192 * 2);  // four 192-texel faces at two points a texel
  struct Case {
    double set, expected;
  } cases[] = {{0, 0}, {10, 10}, {width, 0}, {width + 5, 5}, {-5, width - 5}, {3 * width + 1, 1}};
  for (const Case& c : cases) {
    strip.setOffset(c.set);
    EXPECT_DOUBLE_EQ(strip.offset(), c.expected) << c.set;
  }
}

TEST_F(Panorama, EveryFirstFrameIsTheFrameOfTheWholeStrip) {
  // A first frame, drawn from only the faces it shows (or from the whole
  // strip an earlier panorama of its size joined), then the same offset
  // once every face is joined.
  auto drawnAt = [&](double offset, double height) {
    auto fresh = std::make_shared<BVLPanorama>(ui::Rect(0, 0, 568, height));
    fresh->setOffset(offset < 0 ? fresh->stripWidth() + offset : offset);
    std::shared_ptr<ui::Image> frames[2];
    for (auto& frame : frames) {
      ui::ImageContext bitmap(ui::Size{568, 320}, false, 1);
      fresh->draw(bitmap.context(), fresh->bounds());
      frame = bitmap.image();
      driver.runUntilIdle(0.1);
    }
    return std::pair(frames[0], frames[1]);
  };
  // Heights whose faces are 2, 3, 4 and 5 points a texel, each its own
  // strip: with only the first two or three faces joined, across the join,
  // and never a strip of another size taken, nothing is left undrawn or
  // drawn from the wrong face.
  for (auto [offset, height] : {std::pair{0.0, 320.0}, {600.0, 400.0}, {-300.0, 600.0}, {-1.0, 800.0}}) {
    auto [first, whole] = drawnAt(offset, height);
    for (int x = 0; x < 568; x += 3) ASSERT_EQ(first->pixel(x, 5) >> 24, 0xffu) << offset << " at " << x;
    for (int x = 0; x < 568; x += 5) {
      for (int y = 0; y < 320; y += 7) ASSERT_EQ(first->pixel(x, y), whole->pixel(x, y)) << offset << " at " << x;
    }
  }
  // The strip joins itself: drawing at the end of the strip and at its
  // start shows the same column where they meet.
  auto end = drawnAt(-1, 320).first, start = drawnAt(0, 320).first;
  for (int y = 0; y < 320; y += 7) EXPECT_EQ(end->pixel(1, y), start->pixel(0, y)) << y;
}

TEST_F(Panorama, TheFirstFrameWaitsOnlyForTheFacesItShows) {
  // Served under a bundle of its own, so pictures kept by earlier tests are
  // not used.
  std::set<std::string> read;
  std::string demo = bevel::testing::demoBundle();
  ui::setFileReader([&](const std::string& path) -> std::optional<std::string> {
    std::ifstream in(demo + path.substr(std::string("/fresh").size()), std::ios::binary);
    if (!in) return std::nullopt;
    read.insert(path.substr(path.rfind('/') + 1));
    return std::string(std::istreambuf_iterator<char>(in), {});
  });
  bvl_setGameBundlePath("/fresh");
  window->addSubview(panorama);
  ui::ImageContext bitmap(ui::Size{568, 320}, false, 1);
  panorama->draw(bitmap.context(), panorama->bounds());
  EXPECT_EQ(read, (std::set<std::string>{"panorama_0.png", "panorama_1.png"}));
  driver.runUntilIdle(0.5);
  EXPECT_EQ(read.size(), 4u);
  ui::setFileReader(nullptr);
  bevel::testing::useDemoBundle();
}

}  // namespace
