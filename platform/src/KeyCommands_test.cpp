// Keys through the window's own event path (TestDriver::pressKeys), as the
// desktop sends them.
#include <gtest/gtest.h>

#include "ui/NavigationOnScreen.h"
#include "ui/Screen.h"
#include "ui/SearchBar.h"
#include "ui/TableView.h"
#include "ui/TestDriver.h"
#include "ui/TextField.h"
#include "ui/Window.h"

namespace ui {
namespace {

TEST(KeyCommandsBack, EscapeAndAltLeftPopOneScreenAtATimeAndDoNothingOnTheRoot) {
  for (const char* keys : {"Esc", "Alt+Left"}) {
    SCOPED_TRACE(keys);
    NavigationOnScreen s;
    auto second = s.push(std::make_shared<ViewController>(), true);
    s.push(std::make_shared<ViewController>(), true);
    for (const auto& expected : {second, s.root, s.root}) {
      s.driver.pressKeys(*s.window, keys);
      s.driver.runUntilIdle();
      EXPECT_EQ(s.navigation->topViewController(), expected);
    }
  }
}

TEST(KeyCommandsBack, EscapeFirstEndsASearchThenGoesBackEvenFromATextField) {
  NavigationOnScreen s;
  auto second = s.push(std::make_shared<ViewController>());
  auto bar = std::make_shared<SearchBar>(Rect(0, 64, 568, 44));
  int cancels = 0;
  bar->onCancel = [&](SearchBar&) { ++cancels; };
  auto field = std::make_shared<TextField>(Rect(20, 120, 200, 30));
  std::vector<std::string> ended;
  field->onEditingEnded = [&](TextField&, const std::string& text) { ended.push_back(text); };
  second->view()->addSubview(bar);
  second->view()->addSubview(field);
  s.driver.tap(*bar->textField());
  bar->setShowsCancelButton(true);
  s.driver.type(*s.window, "sto", false);
  s.driver.pressKeys(*s.window, "Esc");
  s.driver.runUntilIdle();
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(bar->text(), "");
  EXPECT_EQ(s.navigation->topViewController(), second);

  s.driver.tap(*field);
  s.driver.type(*s.window, "kept", false);
  s.driver.pressKeys(*s.window, "Esc");
  s.driver.runUntilIdle();
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(s.navigation->topViewController(), s.root);
  EXPECT_EQ(ended, std::vector<std::string>{"kept"}) << "what was typed is reported, as on leaving the field";
}

TEST(KeyCommandsFocus, TabAndShiftTabMoveBetweenTextFieldsInReadingOrder) {
  TestDriver driver;
  // Declared before the window: closing it ends the focused field's editing.
  std::vector<std::string> ended;
  auto window = std::make_shared<Window>(Rect(0, 0, 568, 320));
  window->makeKeyAndVisible();
  // Added out of order, one row slightly uneven; one hidden and one disabled
  // field are passed over. Fields nested in a table are the level screen's
  // (KeyboardOnScreens).
  struct Place {
    std::string name;
    Rect frame;
  } places[] = {{"right of second row", Rect(300, 122, 150, 30)},
                {"top", Rect(40, 20, 150, 30)},
                {"left of second row", Rect(40, 120, 150, 30)},
                {"bottom", Rect(40, 250, 150, 30)},
                {"hidden", Rect(300, 20, 150, 30)},
                {"disabled", Rect(300, 250, 150, 30)}};
  for (const auto& place : places) {
    auto field = std::make_shared<TextField>(place.frame);
    field->setText(place.name);
    field->onEditingEnded = [&ended](TextField&, const std::string& text) { ended.push_back(text); };
    window->addSubview(field);
    if (place.name == "hidden") field->setHidden(true);
    if (place.name == "disabled") field->setEnabled(false);
  }
  auto focused = [&] {
    auto responder = window->firstResponder();
    return responder ? std::static_pointer_cast<TextField>(responder)->text() : std::string("none");
  };
  std::vector<std::string> visited;
  for (int i = 0; i < 5; ++i) {
    driver.pressKeys(*window, "Tab");
    visited.push_back(focused());
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"top", "left of second row", "right of second row", "bottom", "top"}));
  EXPECT_EQ(ended, (std::vector<std::string>{"top", "left of second row", "right of second row", "bottom"}))
      << "leaving a field by Tab ends its editing once";

  visited.clear();
  for (int i = 0; i < 3; ++i) {
    driver.pressKeys(*window, "Shift+Tab");
    visited.push_back(focused());
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"bottom", "right of second row", "left of second row"}));
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
    table->registerClass<TableViewCell>("cell");
    table->setDataSource(rows);
    window->addSubview(table);
    return table;
  }
};

TEST(KeyCommandsScrolling, PageKeysScrollTheTableUnderThePointerOrElseTheLargest) {
  Tables t;
  t.driver.pressKeys(*t.window, "PgDown");
  EXPECT_EQ(t.big->contentOffset().y, 320) << "the pointer never came over a table";
  EXPECT_EQ(t.big->indexPathsForVisibleRows().front().row, 7) << "the rows of the new place are laid out";

  struct Step {
    Point pointer;
    const char* keys;
    double big, small;
  } steps[] = {
      {{100, 100}, "PgDown", 640, 0},   {{100, 100}, "Down", 680, 0},
      {{100, 100}, "Up", 640, 0},       {{100, 100}, "PgUp", 320, 0},
      {{100, 100}, "End", 439680, 0},   {{100, 100}, "PgDown", 439680, 0},
      {{100, 100}, "Home", 0, 0},       {{100, 100}, "PgUp", 0, 0},
      {{450, 100}, "PgDown", 0, 200},    // a page is the height that table shows
      {{450, 250}, "PgDown", 320, 200},  // over the window but on no table: the largest
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::string(step.keys) + " at " + std::to_string(int(step.pointer.x)));
    t.driver.hover(*t.window, step.pointer);
    t.driver.pressKeys(*t.window, step.keys);
    EXPECT_EQ(t.big->contentOffset().y, step.big);
    EXPECT_EQ(t.small->contentOffset().y, step.small);
  }
}

TEST(KeyCommandsScrolling, UnderABarAPageIsWhatShowsBelowIt) {
  Tables t;
  t.big->setContentInset(EdgeInsets{64, 0, 0, 0});
  t.driver.hover(*t.window, Point{100, 200});
  EXPECT_EQ(t.big->contentOffset().y, -64);
  t.driver.pressKeys(*t.window, "PgDown");
  EXPECT_EQ(t.big->contentOffset().y, 192) << "the row that was last below the bar is now first below it";
  t.driver.pressKeys(*t.window, "Home");
  EXPECT_EQ(t.big->contentOffset().y, -64);
}

TEST(WindowZoom, TheLargestWholeScaleWithinFourFifthsOfTheDesktop) {
  struct Case {
    Size desktop;
    int zoom;
  } cases[] = {
      {{1280, 800}, 1}, {{1366, 768}, 1}, {{1920, 1080}, 2}, {{2560, 1440}, 3},   {{3840, 2160}, 5},
      {{800, 600}, 1},  {{400, 300}, 1},  {{1920, 400}, 1},  {{32767, 32767}, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.desktop.width) + "x" + std::to_string(c.desktop.height));
    EXPECT_EQ(Screen::zoomFitting(Size{568, 320}, c.desktop), c.zoom);
  }
}

}  // namespace
}  // namespace ui
