#include "ui/ScrollView.h"

#include <gtest/gtest.h>

#include "ui/NavigationController.h"
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
    if (tableIsTheView_) setView(table);
    else ViewController::loadView();
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

}  // namespace
}  // namespace ui
