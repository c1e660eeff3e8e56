#include "ui/NavigationBar.h"

#include <gtest/gtest.h>

#include "ui/BarButtonItem.h"
#include "ui/TestDriver.h"
#include "ui/Window.h"

namespace ui {
namespace {

struct Bar {
  TestDriver driver;
  std::shared_ptr<Window> window = std::make_shared<Window>(Rect(0, 0, 320, 64));
  std::shared_ptr<NavigationBar> bar = std::make_shared<NavigationBar>(Rect(0, 0, 320, 64));
  int backs = 0, adds = 0;

  Bar() {
    bar->setBackTitle("Worlds", true);
    bar->onBack = [this] { ++backs; };
    bar->setRightItem(std::make_shared<BarButtonItem>(SystemItem::Add, [this] { ++adds; }));
    window->addSubview(bar);
  }
  static Point centreOf(const Rect& r) { return Point{r.x() + r.width() / 2, r.y() + r.height() / 2}; }
};

TEST(NavigationBarButtons, ActOnlyWhenPressedAndReleasedOnTheSameButton) {
  struct Case {
    const char* what;
    Point press, release;
    int backs, adds;
  };
  Bar layout;
  Point back = Bar::centreOf(layout.bar->backButtonFrame()), add = Bar::centreOf(layout.bar->rightItemFrame());
  const Case cases[] = {
      {"back", back, back, 1, 0},
      {"add", add, add, 0, 1},
      {"back, released on the title", back, Point{160, 42}, 0, 0},
      {"title, released on back", Point{160, 42}, back, 0, 0},
      {"back, released on add", back, add, 0, 0},
      {"the status strip above the back button", Point{back.x, 10}, Point{back.x, 10}, 0, 0},
      {"the status strip above add", Point{add.x, 10}, Point{add.x, 10}, 0, 0},
  };
  for (const Case& c : cases) {
    Bar b;
    b.driver.drag(*b.window, c.press, c.release, 1);
    EXPECT_EQ(b.backs, c.backs) << c.what;
    EXPECT_EQ(b.adds, c.adds) << c.what;
  }
}

TEST(NavigationBarButtons, AnItemsActionMayReplaceTheItem) {
  Bar b;
  std::vector<std::string> ran;
  auto second = std::make_shared<BarButtonItem>(SystemItem::Done, [&] { ran.push_back("done"); });
  b.bar->setRightItem(std::make_shared<BarButtonItem>(SystemItem::Edit, [&] {
    b.bar->setRightItem(second);  // lets go of the item whose action is running
    ran.push_back("edit");
  }));
  Point at = Bar::centreOf(b.bar->rightItemFrame());
  b.driver.tap(*b.window, at);
  b.driver.tap(*b.window, at);
  EXPECT_EQ(ran, (std::vector<std::string>{"edit", "done"}));
  b.bar->setBackTitle("", false);
  b.driver.tap(*b.window, Point{20, 42});
  EXPECT_EQ(b.backs, 0) << "a hidden back button takes no taps";
}

}  // namespace
}  // namespace ui
