#include "ui/AlertView.h"

#include <gtest/gtest.h>

#include "ui/Exception.h"
#include "ui/TestDriver.h"
#include "ui/TextField.h"
#include "ui/Window.h"

namespace ui {
namespace {

class Clicks : public AlertViewDelegate {
 public:
  std::vector<long> indices;
  std::vector<bool> alertStillShown;
  void clickedButtonAtIndex(AlertView& alert, long index) override {
    indices.push_back(index);
    alertStillShown.push_back(alert.isVisible());
  }
};

struct Fixture {
  TestDriver driver;
  std::shared_ptr<Window> window = std::make_shared<Window>(Rect(0, 0, 568, 320));
  std::shared_ptr<Clicks> clicks = std::make_shared<Clicks>();
  Fixture() { window->makeKeyAndVisible(); }
};

TEST(AlertViewButtons, EachButtonReachesTheDelegateWithItsIndexAfterDismissal) {
  struct Case {
    std::string cancel;
    std::vector<std::string> others;
    long tapped;
  };
  std::vector<Case> cases = {
      {"Okay", {}, 0},         {"Cancel", {"Delete"}, 0}, {"Cancel", {"Delete"}, 1}, {"Cancel", {"One", "Two"}, 2},
      {"", {"One", "Two"}, 0},  // without a cancel button the others count from 0
  };
  for (const auto& c : cases) {
    Fixture f;
    std::weak_ptr<AlertView> weak;
    {
      auto alert = std::make_shared<AlertView>("Error", "Something happened.", f.clicks, c.cancel, c.others);
      alert->show();
      weak = alert;
    }
    auto alert = weak.lock();
    ASSERT_NE(alert, nullptr) << "the window keeps a shown alert";
    EXPECT_EQ(alert->numberOfButtons(), long(c.others.size()) + (c.cancel.empty() ? 0 : 1));
    auto button = alert->buttonAtIndex(c.tapped);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(alert->boxRect().contains(button->frame().origin));
    alert.reset();
    f.driver.tap(*button);
    EXPECT_EQ(f.clicks->indices, std::vector<long>{c.tapped}) << c.cancel << " " << c.tapped;
    EXPECT_EQ(f.clicks->alertStillShown, std::vector<bool>{false});
    EXPECT_TRUE(weak.expired()) << "nobody holds a dismissed alert";
  }
}

TEST(AlertViewModality, NothingUnderTheAlertCanBeTouchedOrEdited) {
  Fixture f;
  auto field = std::make_shared<TextField>(Rect(10, 10, 200, 30));
  std::vector<std::string> ended;
  field->onEditingEnded = [&](TextField&, const std::string& text) { ended.push_back(text); };
  int taps = 0;
  auto under = std::make_shared<View>(Rect(0, 100, 568, 220));
  under->setTapHandler([&] { ++taps; });
  f.window->addSubview(field);
  f.window->addSubview(under);
  f.driver.tap(*field);
  f.driver.type(*f.window, "abc", false);

  auto alert = std::make_shared<AlertView>("Title", "", f.clicks, "Okay", std::vector<std::string>{});
  alert->show();
  EXPECT_EQ(ended, std::vector<std::string>{"abc"});  // showing ended the editing
  f.driver.tap(*f.window, Point{20, 300});            // on the dimmed area
  f.driver.type(*f.window, "x", false);
  EXPECT_EQ(taps, 0);
  EXPECT_EQ(field->text(), "abc");
  EXPECT_TRUE(f.clicks->indices.empty());
  f.driver.tap(*alert->buttonAtIndex(0));
  f.driver.tap(*f.window, Point{20, 300});
  EXPECT_EQ(taps, 1);
}

TEST(AlertViewLayout, LongMessagesWrapIntoATallerBox) {
  Fixture f;
  auto shortAlert = std::make_shared<AlertView>("Error", "Short.", nullptr, "Okay", std::vector<std::string>{});
  auto longAlert = std::make_shared<AlertView>(
      "Error",
      "An error has occured, if you forgot to Quit to Title in Minecraft, do that. Otherwise, report this to me at "
      "@Harrowby on twitter, install CrashReporter, and send me the crash report.",
      nullptr, "Okay", std::vector<std::string>{});
  shortAlert->show();
  longAlert->show();
  Rect a = shortAlert->boxRect(), b = longAlert->boxRect();
  EXPECT_EQ(a.width(), 270);
  EXPECT_GT(b.height(), a.height() + 4 * Font::system(13).measure("A").height);
  EXPECT_LE(b.height(), 300);
  EXPECT_EQ(b.x(), 149);  // centred in 568
}

TEST(AlertViewShow, RaisesWithoutAKeyWindow) {
  TestDriver driver;
  auto alert = std::make_shared<AlertView>("T", "M", nullptr, "Okay", std::vector<std::string>{});
  ASSERT_EQ(Window::keyWindow(), nullptr);  // the other tests' windows are gone
  EXPECT_THROW(alert->show(), Exception);
}

}  // namespace
}  // namespace ui
