#include "ui/ScrollView.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/NavigationOnScreen.h"
#include "ui/TestDriver.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace ui {
namespace {

TEST(ScrollViewInset, OffsetsRangeOverTheContentPlusItsInset) {
  struct Case {
    EdgeInsets inset;
    Point asked;
    Point expected;
  };
  // Content 400 x 1000 seen through 300 x 320.
  const Case cases[] = {
      {{}, {0, -50}, {0, 0}},
      {{}, {0, 5000}, {0, 680}},
      {{}, {500, 0}, {100, 0}},
      {{64, 0, 0, 0}, {0, -500}, {0, -64}},
      {{64, 0, 0, 0}, {0, 5000}, {0, 680}},
      {{64, 10, 20, 30}, {-500, 5000}, {-10, 700}},
      {{64, 10, 20, 30}, {500, -5}, {130, -5}},
  };
  for (const Case& c : cases) {
    ScrollView scroller(Rect(0, 0, 300, 320));
    scroller.setContentSize(Size{400, 1000});
    scroller.setContentInset(c.inset);
    scroller.setContentOffset(c.asked);
    EXPECT_EQ(scroller.contentOffset(), c.expected) << "inset top " << c.inset.top << ", asked " << c.asked.y;
  }
}

// Moving the content clear of a new inset is the navigation controller's
// (below); the least scroll that shows a rectangle shows it below the inset.
TEST(ScrollViewInset, ARectangleScrolledIntoViewShowsBelowTheInset) {
  ScrollView scroller(Rect(0, 0, 300, 320));
  scroller.setContentSize(Size{300, 1000});
  scroller.setContentInset(EdgeInsets{64, 0, 0, 0});
  scroller.setContentOffset(Point{0, 100});
  scroller.scrollRectToVisible(Rect(0, 50, 300, 10), false);
  EXPECT_EQ(scroller.contentOffset(), (Point{0, -14}));
  scroller.scrollRectToVisible(Rect(0, 990, 300, 10), false);
  EXPECT_EQ(scroller.contentOffset(), (Point{0, 680}));
}

// A screen whose first scroll view is its view or the back one of two.
class Scrolling : public ViewController {
 public:
  Scrolling(bool scrollerIsTheView, RectEdge edges) : scrollerIsTheView_(scrollerIsTheView) {
    setEdgesForExtendedLayout(edges);
  }
  std::shared_ptr<ScrollView> first = std::make_shared<ScrollView>(Rect(0, 0, 284, 320));
  std::shared_ptr<ScrollView> second = std::make_shared<ScrollView>(Rect(284, 0, 284, 320));
  std::shared_ptr<View> top = std::make_shared<View>(Rect(0, 0, 284, 44));  // the first row of its content

  void loadView() override {
    if (scrollerIsTheView_)
      setView(first);
    else
      ViewController::loadView();
  }
  void viewDidLoad() override {
    first->setContentSize(Size{284, 2000});
    first->addSubview(top);
    if (scrollerIsTheView_) return;
    view()->addSubview(second);
    view()->insertSubview(first, 0);
  }

 private:
  bool scrollerIsTheView_;
};

TEST(ScrollViewInset, ANavigationControllerClearsTheBarsForTheFirstScrollViewOfAScreenUnderThem) {
  struct Case {
    bool scrollerIsTheView;
    RectEdge edges;
    double expectedTop;
    double firstRowY;  // in the window
  };
  const Case cases[] = {
      {true, RectEdge::All, 64, 64},
      {false, RectEdge::All, 64, 64},
      {true, RectEdge::None, 0, 64},  // the view itself starts below the bar
  };
  for (const Case& c : cases) {
    NavigationOnScreen s;
    auto screen = std::make_shared<Scrolling>(c.scrollerIsTheView, c.edges);
    s.push(screen, true);
    SCOPED_TRACE(c.expectedTop);
    EXPECT_EQ(screen->first->contentInset().top, c.expectedTop);
    EXPECT_EQ(screen->first->contentOffset().y, -c.expectedTop);
    EXPECT_EQ(screen->top->convertToWindow(Point{0, 0}).y, c.firstRowY);
    EXPECT_EQ(screen->second->contentInset(), EdgeInsets{}) << "only the first scroll view is adjusted";
  }
}

struct Nested {
  TestDriver driver;
  std::shared_ptr<Window> window = std::make_shared<Window>(Rect(0, 0, 200, 200));
  std::shared_ptr<ScrollView> outer = std::make_shared<ScrollView>(Rect(0, 0, 200, 200));
  std::shared_ptr<ScrollView> inner = std::make_shared<ScrollView>(Rect(0, 0, 200, 100));
  Nested() {
    outer->setContentSize(Size{200, 500});
    inner->setContentSize(Size{200, 200});  // scrolls 100 points
    outer->addSubview(inner);
    window->addSubview(outer);
  }
};

TEST(ScrollViewWheel, TurnsScrollTheViewUnderThePointerUntilItsEndThenTheViewAround) {
  Nested n;
  struct Step {
    double dy;
    double inner, outer;
  };
  const Step steps[] = {
      {60, 60, 0},   {60, 100, 0},  // stops at its end: the turn is spent
      {60, 100, 60},                // now the outer one scrolls
      {-30, 70, 60},                // back up: the inner one first again
      {-100, 0, 60}, {-10, 0, 50},
  };
  for (const Step& s : steps) {
    // A point of the inner view still on screen as the outer one scrolls.
    Point under = n.inner->convertToWindow(Point{100, n.inner->contentOffset().y + 80});
    n.driver.wheel(*n.window, under, s.dy);
    EXPECT_EQ(n.inner->contentOffset().y, s.inner) << "after " << s.dy;
    EXPECT_EQ(n.outer->contentOffset().y, s.outer) << "after " << s.dy;
  }
  n.inner->setScrollEnabled(false);
  n.driver.wheel(*n.window, n.inner->convertToWindow(Point{100, 80}), 20);
  EXPECT_EQ(n.inner->contentOffset().y, 0) << "a view that may not scroll passes every turn on";
  EXPECT_EQ(n.outer->contentOffset().y, 70);
}

TEST(ScrollViewDrag, TheContentFollowsThePointerAndStopsAtItsEnds) {
  TestDriver driver;
  auto window = std::make_shared<Window>(Rect(0, 0, 200, 200));
  auto scroller = std::make_shared<ScrollView>(Rect(0, 0, 200, 200));
  scroller->setContentSize(Size{400, 600});
  window->addSubview(scroller);
  std::vector<Point> offsets;
  bool draggingWhileScrolling = true;
  scroller->onScroll = [&](ScrollView& s) {
    offsets.push_back(s.contentOffset());
    draggingWhileScrolling = draggingWhileScrolling && s.isDragging();
  };
  struct Case {
    Point from, to;
    Point expected;
  };
  const Case cases[] = {
      {{150, 150}, {120, 40}, {30, 110}},  // both axes, by exactly the drag
      {{100, 20}, {100, 190}, {30, 0}},    // past the top: stops there, no bounce
      {{190, 190}, {10, 10}, {200, 180}},   {{190, 190}, {10, 10}, {200, 360}},
      {{100, 190}, {100, 10}, {200, 400}},   // at the far end
      {{100, 100}, {104, 104}, {200, 400}},  // within the slop: no scroll at all
  };
  for (const Case& c : cases) {
    driver.drag(*window, c.from, c.to);
    EXPECT_EQ(scroller->contentOffset(), c.expected);
    EXPECT_FALSE(scroller->isDragging());
  }
  EXPECT_TRUE(draggingWhileScrolling);
  EXPECT_EQ(offsets.back(), (Point{200, 400}));
  for (size_t i = 1; i < offsets.size(); ++i) EXPECT_NE(offsets[i], offsets[i - 1]) << "told only of changes";

  // Content that shrinks pulls the offset back inside, and says so.
  offsets.clear();
  scroller->setContentSize(Size{300, 250});
  EXPECT_EQ(scroller->contentOffset(), (Point{100, 50}));
  EXPECT_EQ(offsets, std::vector<Point>{(Point{100, 50})});
  scroller->setContentSize(Size{100, 100});
  EXPECT_EQ(scroller->contentOffset(), (Point{0, 0})) << "content smaller than the view does not scroll";
}

// Tells the hooks that tables and grids select with, in order.
class Picker : public ScrollView {
 public:
  using ScrollView::ScrollView;
  std::vector<std::string> events;

 protected:
  void touchDownAt(Point p) override { events.push_back("down " + text(p)); }
  void tapAt(Point p) override { events.push_back("tap " + text(p)); }
  void touchAbandoned() override { events.push_back("abandoned"); }

 private:
  static std::string text(Point p) { return std::to_string(int(p.x)) + "," + std::to_string(int(p.y)); }
};

TEST(ScrollViewTouches, ATapIsToldInContentCoordinatesAndAnythingElseIsAbandoned) {
  struct Case {
    const char* what;
    Point from, to;  // the same point: a tap
    bool cancelled;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"a tap", {50, 60}, {50, 60}, false, {"down 40,260", "tap 40,260"}},
      {"a drag", {50, 60}, {50, 160}, false, {"down 40,260", "abandoned"}},
      {"a small slip stays a tap", {50, 60}, {54, 64}, false, {"down 40,260", "tap 44,264"}},
      {"released just outside the view", {50, 145}, {50, 152}, false, {"down 40,345", "abandoned"}},
      {"cancelled", {50, 60}, {50, 60}, true, {"down 40,260", "abandoned"}},
  };
  for (const Case& c : cases) {
    TestDriver driver;
    auto window = std::make_shared<Window>(Rect(0, 0, 200, 200));
    auto picker = std::make_shared<Picker>(Rect(10, 0, 100, 150));
    picker->setContentSize(Size{100, 1000});
    picker->setContentOffset(Point{0, 200});
    window->addSubview(picker);
    if (c.cancelled) {
      picker->touchesBegan(Touch{c.from});
      picker->touchesCancelled(Touch{c.from});
    } else if (c.from == c.to) {
      driver.tap(*window, c.from);
    } else {
      driver.drag(*window, c.from, c.to);
    }
    EXPECT_EQ(picker->events, c.expected) << c.what;
  }
}

}  // namespace
}  // namespace ui
