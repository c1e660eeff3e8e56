#include "ui/ScrollView.h"

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/Image.h"
#include "ui/NavigationController.h"
#include "ui/PictureCheck.h"
#include "ui/TableView.h"
#include "ui/TestDriver.h"
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

TEST(ScrollViewInset, ContentAtRestMovesClearOfANewInsetAndAScrolledOffsetStays) {
  ScrollView scroller(Rect(0, 0, 300, 320));
  scroller.setContentSize(Size{300, 1000});
  int scrolls = 0;
  scroller.onScroll = [&](ScrollView&) { ++scrolls; };
  scroller.setContentInset(EdgeInsets{64, 0, 0, 0});
  EXPECT_EQ(scroller.contentOffset(), (Point{0, -64}));
  EXPECT_EQ(scrolls, 1) << "the move is a scroll like any other";
  scroller.setContentInset(EdgeInsets{20, 0, 0, 0});
  EXPECT_EQ(scroller.contentOffset(), (Point{0, -20}));

  scroller.setContentOffset(Point{0, 100});
  scroller.setContentInset(EdgeInsets{64, 0, 0, 0});
  EXPECT_EQ(scroller.contentOffset(), (Point{0, 100}));
  scroller.setContentInset(EdgeInsets{});
  EXPECT_EQ(scroller.contentOffset(), (Point{0, 100}));

  // The least scroll that shows a rectangle shows it below the inset.
  scroller.setContentInset(EdgeInsets{64, 0, 0, 0});
  scroller.scrollRectToVisible(Rect(0, 50, 300, 10), false);
  EXPECT_EQ(scroller.contentOffset(), (Point{0, -14}));
  scroller.scrollRectToVisible(Rect(0, 990, 300, 10), false);
  EXPECT_EQ(scroller.contentOffset(), (Point{0, 680}));
}

class Rows : public ViewController, public TableViewDataSource {
 public:
  Rows(bool tableIsTheView, RectEdge edges) : tableIsTheView_(tableIsTheView) { setEdgesForExtendedLayout(edges); }
  std::shared_ptr<TableView> table = std::make_shared<TableView>(Rect(0, 0, 284, 320));
  std::shared_ptr<ScrollView> second = std::make_shared<ScrollView>(Rect(284, 0, 284, 320));

  void loadView() override {
    if (tableIsTheView_)
      setView(table);
    else
      ViewController::loadView();
  }
  void viewDidLoad() override {
    table->registerClass<TableViewCell>("cell");
    table->setDataSource(std::dynamic_pointer_cast<Rows>(shared_from_this()));
    if (tableIsTheView_) return;
    view()->addSubview(second);
    view()->insertSubview(table, 0);
  }
  long numberOfRowsInSection(TableView&, long) override { return 40; }
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& t, const IndexPath& p) override {
    return t.dequeueReusableCell("cell", p);
  }

 private:
  bool tableIsTheView_;
};

TEST(ScrollViewInset, ANavigationControllerClearsTheBarsForTheFirstScrollViewOfAScreenUnderThem) {
  struct Case {
    bool tableIsTheView;
    RectEdge edges;
    bool adjusts;
    double expectedTop;
    double firstRowY;  // in the window
  };
  const Case cases[] = {
      {true, RectEdge::All, true, 64, 64},
      {false, RectEdge::All, true, 64, 64},
      {true, RectEdge::None, true, 0, 64},  // the view itself starts below the bar
      {true, RectEdge::All, false, 0, 0},
  };
  for (const Case& c : cases) {
    TestDriver driver;
    auto window = std::make_shared<Window>(Rect(0, 0, 568, 320));
    auto navigation = std::make_shared<NavigationController>();
    navigation->addChildViewController(std::make_shared<ViewController>());
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    driver.runUntilIdle();
    auto screen = std::make_shared<Rows>(c.tableIsTheView, c.edges);
    screen->setAutomaticallyAdjustsScrollViewInsets(c.adjusts);
    navigation->pushViewController(screen, true);
    driver.runUntilIdle();
    SCOPED_TRACE(c.expectedTop);
    EXPECT_EQ(screen->table->contentInset().top, c.expectedTop);
    EXPECT_EQ(screen->table->contentOffset().y, -c.expectedTop);
    auto first = screen->table->cellForRowAtIndexPath(IndexPath{0, 0});
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->convertToWindow(Point{0, 0}).y, c.firstRowY);
    EXPECT_EQ(screen->second->contentInset(), EdgeInsets{}) << "only the first scroll view is adjusted";

    if (c.expectedTop == 64) {
      navigation->setNavigationBarHidden(true, false);
      EXPECT_EQ(screen->table->contentInset().top, 20) << "the status bar alone";
      EXPECT_EQ(screen->table->contentOffset().y, -20);
    }
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
    std::function<void(TestDriver&, Window&, Picker&)> act;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"a tap",
       [](TestDriver& d, Window& w, Picker&) {
         d.tap(w, Point{50, 60});
       },
       {"down 40,260", "tap 40,260"}},
      {"a drag",
       [](TestDriver& d, Window& w, Picker&) {
         d.drag(w, Point{50, 60}, Point{50, 160});
       },
       {"down 40,260", "abandoned"}},
      {"a small slip stays a tap",
       [](TestDriver& d, Window& w, Picker&) {
         d.drag(w, Point{50, 60}, Point{54, 64});
       },
       {"down 40,260", "tap 44,264"}},
      {"released just outside the view",
       [](TestDriver& d, Window& w, Picker&) {
         d.drag(w, Point{50, 145}, Point{50, 152});
       },
       {"down 40,345", "abandoned"}},
      {"cancelled",
       [](TestDriver&, Window&, Picker& p) {
         p.touchesBegan(Touch{Point{50, 60}});
         p.touchesCancelled(Touch{Point{50, 60}});
       },
       {"down 40,260", "abandoned"}},
  };
  for (const Case& c : cases) {
    TestDriver driver;
    auto window = std::make_shared<Window>(Rect(0, 0, 200, 200));
    auto picker = std::make_shared<Picker>(Rect(10, 0, 100, 150));
    picker->setContentSize(Size{100, 1000});
    picker->setContentOffset(Point{0, 200});
    window->addSubview(picker);
    c.act(driver, *window, *picker);
    EXPECT_EQ(picker->events, c.expected) << c.what;
  }
}

TEST(ScrollViewIndicators, ABarShowsHowMuchAndWhereAndOnlyWhileMoving) {
  TestDriver driver;
  auto window = std::make_shared<Window>(Rect(0, 0, 100, 200));
  window->setBackgroundColor(Color::white(1));
  auto scroller = std::make_shared<ScrollView>(Rect(0, 0, 100, 200));
  window->addSubview(scroller);

  scroller->setContentSize(Size{100, 200});
  EXPECT_TRUE(scroller->verticalIndicatorRect().isEmpty()) << "content that fits has no bar";
  EXPECT_TRUE(scroller->horizontalIndicatorRect().isEmpty());

  struct Case {
    double contentHeight;
    double offset;
  };
  for (const Case& c : {Case{800, 0}, Case{800, 300}, Case{800, 600}, Case{100000, 0}, Case{100000, 50000}}) {
    scroller->setContentSize(Size{100, c.contentHeight});
    scroller->setContentOffset(Point{0, c.offset});
    Rect bar = scroller->verticalIndicatorRect();
    Rect visible = scroller->bounds();
    SCOPED_TRACE(std::to_string(c.contentHeight) + " at " + std::to_string(c.offset));
    // Along the right edge, inside what shows, 2.5 points in from it.
    EXPECT_EQ(bar.maxX(), visible.maxX() - 2.5);
    double track = visible.height() - 5;
    double above = bar.y() - (visible.y() + 2.5), below = visible.maxY() - 2.5 - bar.maxY();
    EXPECT_GE(above, 0);
    EXPECT_GE(below, 0);
    // As long as the share of the content that shows, but never too short to find.
    EXPECT_DOUBLE_EQ(bar.height(), std::max(36.0, track * visible.height() / c.contentHeight));
    // Where the offset is: the room above and below in its proportion.
    double progress = c.offset / (c.contentHeight - visible.height());
    EXPECT_NEAR(above / (above + below), progress, 1e-9);
  }

  // Painted after a scroll, gone once the view has rested.
  scroller->setContentSize(Size{100, 800});
  scroller->setContentOffset(Point{0, 0});
  auto nothing = [](Point) -> std::optional<Color> { return Color::white(1); };
  EXPECT_EQ(pictureDifferences(*window->snapshot(2), nothing, 0), "");
  driver.wheel(*window, Point{50, 100}, 300);
  Rect bar = scroller->verticalIndicatorRect().offsetBy(0, -scroller->contentOffset().y);
  Point middle{bar.x() + bar.width() / 2, bar.y() + bar.height() / 2};
  auto shown = window->snapshot(2);
  EXPECT_TRUE(pixelMatches(*shown, int(middle.x * 2), int(middle.y * 2), Color::white(0.65), 2))
      << std::hex << shown->pixel(int(middle.x * 2), int(middle.y * 2));
  // The bar fades after 0.6 seconds of rest; one-shot timers are not waited
  // for by the driver, so the test waits.
  auto rested = std::chrono::steady_clock::now() + std::chrono::milliseconds(700);
  while (std::chrono::steady_clock::now() < rested) driver.runUntilIdle(0.05);
  EXPECT_EQ(pictureDifferences(*window->snapshot(2), nothing, 0), "");
}

}  // namespace
}  // namespace ui
