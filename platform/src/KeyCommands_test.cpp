// Keys through the window's own event path (TestDriver::pressKeys), as the
// desktop sends them.
#include <map>

#include <gtest/gtest.h>

#include "ui/AlertView.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "ui/SearchBar.h"
#include "ui/TableView.h"
#include "ui/TestDriver.h"
#include "ui/TextField.h"
#include "ui/Window.h"

namespace ui {
namespace {

struct Stack {
  TestDriver driver;
  std::shared_ptr<Window> window = std::make_shared<Window>(Rect(0, 0, 568, 320));
  std::shared_ptr<NavigationController> navigation = std::make_shared<NavigationController>();
  std::shared_ptr<ViewController> root = std::make_shared<ViewController>();
  Stack() {
    navigation->addChildViewController(root);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    driver.runUntilIdle();
  }
  // A new screen on top, shown.
  std::shared_ptr<ViewController> push(bool animated = false) {
    auto screen = std::make_shared<ViewController>();
    navigation->pushViewController(screen, animated);
    driver.runUntilIdle();
    return screen;
  }
};

TEST(KeyCommandsBack, EscapeAndAltLeftPopAPushedScreenAndDoNothingOnTheRoot) {
  for (const char* keys : {"Esc", "Alt+Left"}) {
    SCOPED_TRACE(keys);
    Stack s;
    s.driver.pressKeys(*s.window, keys);
    s.driver.runUntilIdle();
    EXPECT_EQ(s.navigation->viewControllers().size(), 1u);
    EXPECT_EQ(s.navigation->topViewController(), s.root);

    auto second = s.push(true);
    s.push(true);
    s.driver.pressKeys(*s.window, keys);
    s.driver.runUntilIdle();
    EXPECT_EQ(s.navigation->topViewController(), second) << "one screen at a time";
    EXPECT_EQ(second->view()->window(), s.window.get()) << "and it is shown";
    s.driver.pressKeys(*s.window, keys);
    s.driver.runUntilIdle();
    s.driver.pressKeys(*s.window, keys);
    s.driver.runUntilIdle();
    EXPECT_EQ(s.navigation->topViewController(), s.root);
    EXPECT_EQ(s.root->view()->window(), s.window.get());
  }
}

TEST(KeyCommandsBack, EscapeInATextFieldStillGoesBack) {
  Stack s;
  auto second = s.push();
  auto field = std::make_shared<TextField>(Rect(20, 80, 200, 30));
  std::vector<std::string> ended;
  field->onEditingEnded = [&](TextField&, const std::string& text) { ended.push_back(text); };
  second->view()->addSubview(field);
  s.driver.tap(*field);
  s.driver.type(*s.window, "kept", false);
  s.driver.pressKeys(*s.window, "Esc");
  s.driver.runUntilIdle();
  EXPECT_EQ(s.navigation->topViewController(), s.root);
  EXPECT_EQ(ended, std::vector<std::string>{"kept"}) << "what was typed is reported, as on leaving the field";
}

TEST(KeyCommandsBack, EscapeFirstEndsASearchThenGoesBack) {
  Stack s;
  auto second = s.push();
  auto bar = std::make_shared<SearchBar>(Rect(0, 64, 568, 44));
  int cancels = 0;
  bar->onCancel = [&](SearchBar&) { ++cancels; };
  second->view()->addSubview(bar);
  s.driver.tap(*bar->textField());
  bar->setShowsCancelButton(true);
  s.driver.type(*s.window, "sto", false);
  s.driver.pressKeys(*s.window, "Esc");
  s.driver.runUntilIdle();
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(bar->text(), "");
  EXPECT_EQ(s.navigation->topViewController(), second);
  s.driver.pressKeys(*s.window, "Esc");
  s.driver.runUntilIdle();
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(s.navigation->topViewController(), s.root);
}

class Clicks : public AlertViewDelegate {
 public:
  std::vector<long> indices;
  void clickedButtonAtIndex(AlertView&, long index) override { indices.push_back(index); }
};

TEST(KeyCommandsAlert, ReturnPressesThePreferredButtonAndEscapeTheCancelButton) {
  struct Case {
    const char* cancel;
    std::vector<std::string> others;
    const char* keys;
    std::vector<long> expected;  // empty: the alert stays
  } cases[] = {
      {"Okay", {}, "Return", {0}},
      {"Okay", {}, "Esc", {0}},
      {"Cancel", {"Delete"}, "Return", {1}},
      {"Cancel", {"Delete"}, "Enter", {1}},
      {"Cancel", {"Delete"}, "Esc", {0}},
      {"", {"Retry"}, "Esc", {0}},
      {"", {"First", "Second"}, "Return", {0}},
      {"", {"First", "Second"}, "Esc", {}},
      {"Cancel", {"Delete"}, "Tab", {}},
      {"Cancel", {"Delete"}, "Alt+Left", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.cancel) + " + " + std::to_string(c.others.size()) + " others, " + c.keys);
    Stack s;
    auto second = s.push();
    auto clicks = std::make_shared<Clicks>();
    auto alert = std::make_shared<AlertView>("Title", "Message", clicks, c.cancel, c.others);
    alert->show();
    s.driver.pressKeys(*s.window, c.keys);
    s.driver.runUntilIdle();
    EXPECT_EQ(clicks->indices, c.expected);
    EXPECT_EQ(alert->isVisible(), c.expected.empty());
    EXPECT_EQ(s.navigation->topViewController(), second) << "no key goes past an alert";
  }
}

TEST(KeyCommandsFocus, TabAndShiftTabMoveBetweenTextFieldsInReadingOrder) {
  TestDriver driver;
  auto window = std::make_shared<Window>(Rect(0, 0, 568, 320));
  window->makeKeyAndVisible();
  // Added out of order, nested, one row slightly uneven; one hidden and one
  // disabled field are passed over.
  struct Place {
    std::string name;
    Rect frame;
  } places[] = {{"right of second row", Rect(300, 122, 150, 30)},
                {"top", Rect(40, 20, 150, 30)},
                {"left of second row", Rect(40, 120, 150, 30)},
                {"bottom", Rect(40, 250, 150, 30)},
                {"hidden", Rect(300, 20, 150, 30)},
                {"disabled", Rect(300, 250, 150, 30)}};
  auto panel = std::make_shared<View>(Rect(0, 100, 568, 100));
  window->addSubview(panel);
  std::vector<std::string> ended;
  std::map<View*, std::string> names;
  for (const auto& place : places) {
    auto field = std::make_shared<TextField>(place.frame);
    field->setText(place.name);
    field->onEditingEnded = [&ended](TextField&, const std::string& text) { ended.push_back(text); };
    names[field.get()] = place.name;
    if (place.name.find("row") != std::string::npos) {
      field->setFrame(place.frame.offsetBy(0, -100));
      panel->addSubview(field);
    } else {
      window->addSubview(field);
    }
    if (place.name == "hidden") field->setHidden(true);
    if (place.name == "disabled") field->setEnabled(false);
  }
  auto focused = [&] {
    auto responder = window->firstResponder();
    return responder ? names[responder.get()] : std::string("none");
  };
  std::vector<std::string> visited;
  for (int i = 0; i < 5; ++i) {
    driver.pressKeys(*window, "Tab");
    visited.push_back(focused());
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"top", "left of second row", "right of second row", "bottom", "top"}));
  EXPECT_EQ(ended, (std::vector<std::string>{"top", "left of second row", "right of second row", "bottom"}))
      << "leaving a field by Tab ends its editing once";
  auto field = std::static_pointer_cast<TextField>(window->firstResponder());
  EXPECT_EQ(field->selectedText(), "top") << "a field reached by Tab has its text selected";

  visited.clear();
  for (int i = 0; i < 3; ++i) {
    driver.pressKeys(*window, "Shift+Tab");
    visited.push_back(focused());
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"bottom", "right of second row", "left of second row"}));
  driver.type(*window, "typed", true);
  EXPECT_EQ(ended.back(), "typed") << "Return still ends editing";
  EXPECT_EQ(focused(), "none");
}

// A table of n rows, 44 points each.
class Rows : public TableViewDataSource {
 public:
  explicit Rows(long count) : count(count) {}
  long count;
  long numberOfRowsInSection(TableView&, long) override { return count; }
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, const IndexPath& path) override {
    return table.dequeueReusableCell("cell", path);
  }
};

struct Tables {
  TestDriver driver;
  std::shared_ptr<Window> window = std::make_shared<Window>(Rect(0, 0, 568, 320));
  std::shared_ptr<Rows> rows = std::make_shared<Rows>(10000);
  std::shared_ptr<TableView> big = make(Rect(0, 0, 400, 320));
  std::shared_ptr<TableView> small = make(Rect(400, 0, 168, 200));
  Tables() {
    window->makeKeyAndVisible();
    driver.runUntilIdle();
  }
  std::shared_ptr<TableView> make(Rect frame) {
    auto table = std::make_shared<TableView>(frame, TableViewStyle::Plain);
    table->registerClass(
        "cell", [](TableViewCellStyle s, const std::string& id) { return std::make_shared<TableViewCell>(s, id); });
    table->setDataSource(rows);
    window->addSubview(table);
    return table;
  }
};

TEST(KeyCommandsScrolling, PageDownScrollsTheTableUnderThePointerByOneScreen) {
  Tables t;
  t.driver.hover(*t.window, Point{100, 100});
  t.driver.pressKeys(*t.window, "PgDown");
  EXPECT_EQ(t.big->contentOffset().y, 320);
  EXPECT_EQ(t.small->contentOffset().y, 0);
  long firstShown = t.big->indexPathsForVisibleRows().front().row;
  EXPECT_EQ(firstShown, 320 / 44) << "the rows of the new place are laid out";

  struct Step {
    const char* keys;
    double expectedY;
  } steps[] = {{"PgDown", 640},
               {"Down", 680},
               {"Up", 640},
               {"PgUp", 320},
               {"End", 10000 * 44 - 320},
               {"PgDown", 10000 * 44 - 320},
               {"Home", 0},
               {"PgUp", 0}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.keys);
    t.driver.pressKeys(*t.window, step.keys);
    EXPECT_EQ(t.big->contentOffset().y, step.expectedY);
  }

  t.driver.hover(*t.window, Point{450, 100});
  t.driver.pressKeys(*t.window, "PgDown");
  EXPECT_EQ(t.small->contentOffset().y, 200) << "a page is the height that table shows";
  EXPECT_EQ(t.big->contentOffset().y, 0);
}

TEST(KeyCommandsScrolling, UnderABarAPageIsWhatShowsBelowIt) {
  Tables t;
  t.big->setContentInset(EdgeInsets{64, 0, 0, 0});
  t.driver.hover(*t.window, Point{100, 200});
  EXPECT_EQ(t.big->contentOffset().y, -64);
  t.driver.pressKeys(*t.window, "PgDown");
  EXPECT_EQ(t.big->contentOffset().y, -64 + 256) << "the row that was last below the bar is now first below it";
  t.driver.pressKeys(*t.window, "Home");
  EXPECT_EQ(t.big->contentOffset().y, -64);
  t.driver.pressKeys(*t.window, "End");
  EXPECT_EQ(t.big->contentOffset().y, 10000 * 44 - 320);
}

TEST(KeyCommandsScrolling, WithThePointerAwayTheLargestTableScrolls) {
  Tables t;
  t.driver.pressKeys(*t.window, "PgDown");
  EXPECT_EQ(t.big->contentOffset().y, 320);
  EXPECT_EQ(t.small->contentOffset().y, 0);
  // Over the window but on no table: nothing under the pointer to scroll.
  t.small->setFrame(Rect(400, 0, 168, 100));
  t.driver.hover(*t.window, Point{450, 200});
  t.driver.pressKeys(*t.window, "PgDown");
  EXPECT_EQ(t.big->contentOffset().y, 640);
}

TEST(WindowZoom, TheLargestWholeScaleWithinFourFifthsOfTheDesktop) {
  struct Case {
    Size desktop;
    int zoom;
  } cases[] = {
      {{1280, 800}, 1},  {{1366, 768}, 1}, {{1920, 1080}, 2}, {{2560, 1440}, 3},
      {{3840, 2160}, 5}, {{800, 600}, 1},  {{400, 300}, 1},   {{1920, 400}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.desktop.width) + "x" + std::to_string(c.desktop.height));
    EXPECT_EQ(Screen::zoomFitting(Size{568, 320}, c.desktop), c.zoom);
  }
}

}  // namespace
}  // namespace ui
