#include "ui/Window.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/Control.h"
#include "ui/GraphicsContext.h"
#include "ui/Image.h"
#include "ui/PictureCheck.h"
#include "ui/ScrollView.h"
#include "ui/TestDriver.h"

namespace ui {
namespace {

const Color red = Color::rgba(1, 0, 0), green = Color::rgba(0, 1, 0), blue = Color::rgba(0, 0, 1),
            yellow = Color::rgba(1, 1, 0), magenta = Color::rgba(1, 0, 1), black = Color::black();

std::shared_ptr<View> coloured(Rect frame, Color colour) {
  auto view = std::make_shared<View>(frame);
  view->setBackgroundColor(colour);
  return view;
}

// Fills its bounds yellow in draw() and a magenta square over its subviews.
class Layered : public View {
 public:
  using View::View;
  void draw(GraphicsContext& context, const Rect&) override { context.fillRect(bounds(), yellow); }
  void drawOverSubviews(GraphicsContext& context, const Rect&) override {
    context.fillRect(Rect(bounds().x() + 2, bounds().y() + 2, 2, 2), magenta);
  }
};

TEST(WindowPainting, ViewsPaintBackToFrontThroughTheirBoundsAndClips) {
  TestDriver driver;
  auto window = std::make_shared<Window>(Rect(0, 0, 48, 32));
  // A clipping red view whose green child runs past its right edge.
  auto clipping = coloured(Rect(2, 2, 12, 12), red);
  clipping->setClipsToBounds(true);
  clipping->addSubview(coloured(Rect(6, 6, 20, 4), green));
  // The same without the clip: the child shows beyond it.
  auto open = coloured(Rect(2, 18, 6, 6), red);
  open->addSubview(coloured(Rect(4, 2, 8, 2), green));
  // Scrolled by 5 points: its child at y 5 shows at its top.
  auto scrolled = coloured(Rect(18, 2, 8, 8), blue);
  scrolled->setBounds(Rect(0, 5, 8, 8));
  scrolled->addSubview(coloured(Rect(0, 5, 8, 2), green));
  // Background, draw(), subviews, then drawOverSubviews().
  auto layered = std::make_shared<Layered>(Rect(30, 2, 10, 10));
  layered->setBackgroundColor(blue);
  layered->addSubview(coloured(Rect(1, 1, 4, 4), green));
  // Half-transparent white over the black window; hidden views not at all.
  auto faint = coloured(Rect(30, 18, 8, 8), Color::white(1));
  faint->setOpacity(0.5);
  auto hidden = coloured(Rect(40, 18, 6, 6), red);
  hidden->setHidden(true);
  for (auto& view : {clipping, open, scrolled, std::shared_ptr<View>(layered), faint, hidden}) {
    window->addSubview(view);
  }

  auto expected = [](Point p) -> std::optional<Color> {
    auto in = [&](double x, double y, double w, double h) { return Rect(x, y, w, h).contains(p); };
    if (in(8, 8, 6, 4)) return green;  // the clipped child, cut at x 14
    if (in(2, 2, 12, 12)) return red;
    if (in(6, 20, 8, 2)) return green;
    if (in(2, 18, 6, 6)) return red;
    if (in(18, 2, 8, 2)) return green;
    if (in(18, 2, 8, 8)) return blue;
    if (in(32, 4, 2, 2)) return magenta;
    if (in(31, 3, 4, 4)) return green;
    if (in(30, 2, 10, 10)) return yellow;
    if (in(30, 18, 8, 8)) return Color::white(0.5);
    return black;
  };
  for (double scale : {1.0, 2.0}) {
    auto picture = window->snapshot(scale);
    ASSERT_EQ(picture->pixelWidth(), int(48 * scale));
    EXPECT_EQ(pictureDifferences(*picture, expected, 1), "") << "scale " << scale;
  }
}

// Records the touches that reach it, by kind and window location; moves are
// left out, as a drag sends as many as the desktop pleases.
template <typename Base>
class Recording : public Base {
 public:
  Recording(std::string name, std::vector<std::string>& log, Rect frame) : Base(frame), name_(name), log_(log) {}
  void touchesBegan(const Touch& t) override { note("began", t), Base::touchesBegan(t); }
  void touchesEnded(const Touch& t) override { note("ended", t), Base::touchesEnded(t); }
  void touchesCancelled(const Touch& t) override { note("cancelled", t), Base::touchesCancelled(t); }

 private:
  void note(const char* what, const Touch& t) {
    log_.push_back(name_ + " " + what + " " + std::to_string(int(t.windowLocation.x)) + "," +
                   std::to_string(int(t.windowLocation.y)));
  }
  std::string name_;
  std::vector<std::string>& log_;
};

TEST(WindowTouches, ADragLeavesTheRowForTheScrollingViewButNotAControl) {
  struct Case {
    const char* what;
    bool control;
    std::vector<std::string> expected;
    double offset;
  };
  const Case cases[] = {
      {"a row", false, {"row began 20,60", "row cancelled 20,50", "scroller began 20,60", "scroller ended 20,20"}, 40},
      {"a control in the row", true, {"row began 20,60", "row ended 20,20"}, 0},
  };
  for (const Case& c : cases) {
    TestDriver driver;
    std::vector<std::string> log;
    auto window = std::make_shared<Window>(Rect(0, 0, 100, 100));
    auto scroller = std::make_shared<Recording<ScrollView>>("scroller", log, Rect(0, 0, 100, 100));
    scroller->setContentSize(Size{100, 400});
    std::shared_ptr<View> row;
    if (c.control)
      row = std::make_shared<Recording<Control>>("row", log, Rect(0, 40, 100, 40));
    else
      row = std::make_shared<Recording<View>>("row", log, Rect(0, 40, 100, 40));
    int taps = 0;
    row->setTapHandler([&] { ++taps; });  // a row keeps its touches to itself until they drag
    scroller->addSubview(row);
    window->addSubview(scroller);
    // Eight steps of 5 points: the second one passes the 8-point threshold.
    driver.drag(*window, Point{20, 60}, Point{20, 20}, 8);
    EXPECT_EQ(log, c.expected) << c.what;
    EXPECT_EQ(scroller->contentOffset(), (Point{0, c.offset})) << c.what << ": a drag of n points scrolls n";
    EXPECT_EQ(taps, 0) << c.what;
  }
}

}  // namespace
}  // namespace ui
