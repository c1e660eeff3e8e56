#include "ui/AlertView.h"

#include <gtest/gtest.h>

#include "ui/Exception.h"
#include "ui/NavigationOnScreen.h"
#include "ui/TextField.h"

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

struct Fixture : NavigationOnScreen {
  std::shared_ptr<Clicks> clicks = std::make_shared<Clicks>();
};

TEST(AlertViewButtons, ATapOrAKeyReachesTheDelegateWithTheButtonsIndexAfterDismissal) {
  struct Case {
    std::string cancel;
    std::vector<std::string> others;
    const char* keys;  // null: a tap on the button at `tapped`
    long tapped;
    std::vector<long> expected;  // empty: the alert stays
  };
  const Case cases[] = {
      {"Okay", {}, nullptr, 0, {0}},
      {"Cancel", {"Delete"}, nullptr, 0, {0}},
      {"Cancel", {"Delete"}, nullptr, 1, {1}},
      {"Cancel", {"One", "Two"}, nullptr, 2, {2}},
      {"", {"One", "Two"}, nullptr, 0, {0}},  // without a cancel button the others count from 0
      // Return presses the preferred button, Escape the cancel button.
      {"Okay", {}, "Return", 0, {0}},
      {"Okay", {}, "Esc", 0, {0}},
      {"Cancel", {"Delete"}, "Return", 0, {1}},
      {"Cancel", {"Delete"}, "Enter", 0, {1}},
      {"Cancel", {"Delete"}, "Esc", 0, {0}},
      {"", {"Retry"}, "Esc", 0, {0}},
      {"", {"First", "Second"}, "Return", 0, {0}},
      {"", {"First", "Second"}, "Esc", 0, {}},
      {"Cancel", {"Delete"}, "Tab", 0, {}},
      {"Cancel", {"Delete"}, "Alt+Left", 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cancel + " + " + std::to_string(c.others.size()) + " others, " + (c.keys ? c.keys : "a tap"));
    Fixture f;
    auto second = f.push(std::make_shared<ViewController>());
    std::weak_ptr<AlertView> weak;
    {
      auto alert = std::make_shared<AlertView>("Error", "Something happened.", f.clicks, c.cancel, c.others);
      alert->show();
      weak = alert;
    }
    auto alert = weak.lock();
    ASSERT_NE(alert, nullptr) << "the window keeps a shown alert";
    auto button = alert->buttonAtIndex(c.tapped);
    ASSERT_NE(button, nullptr);
    alert.reset();
    if (c.keys)
      f.driver.pressKeys(*f.window, c.keys);
    else
      f.driver.tap(*button);
    f.driver.runUntilIdle();
    EXPECT_EQ(f.clicks->indices, c.expected);
    EXPECT_EQ(f.clicks->alertStillShown, std::vector<bool>(c.expected.size(), false));
    EXPECT_EQ(weak.expired(), !c.expected.empty()) << "nobody holds a dismissed alert";
    EXPECT_EQ(f.navigation->topViewController(), second) << "no key goes past an alert";
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

TEST(AlertViewShow, RaisesWithoutAKeyWindow) {
  TestDriver driver;
  auto alert = std::make_shared<AlertView>("T", "M", nullptr, "Okay", std::vector<std::string>{});
  ASSERT_EQ(Window::keyWindow(), nullptr);  // the other tests' windows are gone
  EXPECT_THROW(alert->show(), Exception);
}

}  // namespace
}  // namespace ui
