#include "ui/NavigationController.h"

#include <gtest/gtest.h>

#include "ui/Exception.h"
#include "ui/NavigationBar.h"
#include "ui/NavigationOnScreen.h"
#include "ui/View.h"

namespace ui {
namespace {

std::vector<std::string> events;

class Recorder : public ViewController {
 public:
  explicit Recorder(std::string name) : name_(std::move(name)) {}
  void viewDidLoad() override { events.push_back(name_ + ".didLoad"); }
  void viewWillAppear(bool) override {
    events.push_back(name_ + ".willAppear");
    sizeAtWillAppear = view()->frame();
  }
  void viewDidAppear(bool) override { events.push_back(name_ + ".didAppear"); }
  void viewWillDisappear(bool) override { events.push_back(name_ + ".willDisappear"); }
  void viewDidDisappear(bool) override { events.push_back(name_ + ".didDisappear"); }
  Rect sizeAtWillAppear;

 private:
  std::string name_;
};

struct Stack : NavigationOnScreen {
  Stack() : NavigationOnScreen(std::make_shared<Recorder>("root")) { events.clear(); }
};

TEST(WindowRoot, TheRootScreenAppearsOnceTheWindowIsShownAndIsSizedBeforeIt) {
  TestDriver driver;
  auto window = std::make_shared<Window>(Rect(0, 0, 568, 320));
  auto first = std::make_shared<Recorder>("first");
  events.clear();
  window->setRootViewController(first);
  EXPECT_EQ(events, std::vector<std::string>{"first.didLoad"}) << "nothing appears in a window not yet shown";
  window->makeKeyAndVisible();
  window->makeKeyAndVisible();
  EXPECT_EQ(events, (std::vector<std::string>{"first.didLoad", "first.willAppear", "first.didAppear"}));
  EXPECT_EQ(Window::keyWindow(), window.get());
  EXPECT_EQ(first->sizeAtWillAppear, Rect(0, 0, 568, 320));

  window.reset();
  EXPECT_EQ(Window::keyWindow(), nullptr) << "a window that is gone is no longer the key window";
}

TEST(NavigationControllerAppearance, PushPopAndPushAgainFollowThePhonesOrder) {
  Stack s;
  auto second = std::make_shared<Recorder>("second");
  for (bool animated : {false, true}) {
    events.clear();
    TestDriver realAnimations(!animated);
    s.navigation->pushViewController(second, animated);
    EXPECT_TRUE(events.empty()) << "transitions start at the next turn of the loop";
    s.driver.runUntilIdle();
    s.navigation->popViewControllerAnimated(animated);
    s.driver.runUntilIdle();
    std::vector<std::string> expected;
    if (!animated) expected.push_back("second.didLoad");  // loaded once, on the first push
    for (auto e : {"root.willDisappear", "second.willAppear", "root.didDisappear", "second.didAppear",
                   "second.willDisappear", "root.willAppear", "second.didDisappear", "root.didAppear"}) {
      expected.push_back(e);
    }
    EXPECT_EQ(events, expected) << (animated ? "animated" : "not animated");
    EXPECT_EQ(s.navigation->viewControllers().size(), 1u);
    EXPECT_EQ(second->parentViewController(), nullptr);
  }
  TestDriver instant(true);
}

TEST(NavigationControllerAppearance, ABarShownRightAfterAPushPlacesTheNewScreenBelowIt) {
  Stack s;
  s.navigation->setNavigationBarHidden(true, false);
  auto list = std::make_shared<Recorder>("list");
  list->setEdgesForExtendedLayout(RectEdge::None);
  s.navigation->pushViewController(list, true);
  s.navigation->setNavigationBarHidden(false, true);
  s.driver.runUntilIdle();
  EXPECT_EQ(list->sizeAtWillAppear, Rect(0, 64, 568, 256));
  EXPECT_EQ(list->view()->frame(), Rect(0, 64, 568, 256));
  EXPECT_EQ(s.root->view()->frame(), Rect(0, 0, 568, 320)) << "extended layout fills the screen";
}

TEST(NavigationControllerAppearance, TheBackButtonPopsAndAPushedScreenCannotBePushedTwice) {
  Stack s;
  auto second = std::make_shared<Recorder>("second");
  s.navigation->pushViewController(second, true);
  EXPECT_THROW(s.navigation->pushViewController(second, true), Exception);
  s.driver.runUntilIdle();
  auto bar = s.navigation->navigationBar();
  ASSERT_TRUE(bar->hasBackButton());
  Rect back = bar->backButtonFrame();
  s.driver.tap(*s.window, Point{back.x() + back.width() / 2, back.y() + back.height() / 2});
  s.driver.runUntilIdle();
  EXPECT_EQ(s.navigation->topViewController(), s.root);
  EXPECT_FALSE(bar->hasBackButton());
}

class LoadsItsViewTooEarly : public ViewController {
 public:
  LoadsItsViewTooEarly() { view(); }
};

TEST(ViewControllerOwnership, TheViewIsRefusedInsideTheConstructorAndLoadsOnceOwned) {
  EXPECT_THROW(std::make_shared<LoadsItsViewTooEarly>(), Exception);
  auto owned = std::make_shared<Recorder>("owned");
  events.clear();
  auto first = owned->view();
  EXPECT_EQ(owned->view(), first);
  EXPECT_EQ(events, std::vector<std::string>{"owned.didLoad"}) << "viewDidLoad runs once, on the first view()";
}

}  // namespace
}  // namespace ui
