// The keyboard on the program's own screens, over a private copy of the demo
// game: what a user who does not reach for the mouse can do.
#include "MenuOnScreen.h"
#include "WorldReader.h"

namespace {

constexpr long lakesideSurvival = 2;  // row of the demo game's world list

// The level screen's row whose text field has the keyboard: "section:row",
// or "none".
std::string focusedRow(MenuOnScreen& s, LevelTableViewController& screen) {
  auto field = s.window->firstResponder();
  if (!field) return "none";
  auto table = screen.tableView();
  ui::Rect frame = field->convertRectToWindow(field->bounds());
  auto path = table->indexPathForRowAtPoint(
      table->convertFromWindow(ui::Point{frame.x() + frame.width() / 2, frame.y() + frame.height() / 2}));
  return path ? std::to_string(path->section) + ":" + std::to_string(path->row) : "outside the table";
}

TEST(KeyboardOnScreens, TabMovesAcrossTheLevelScreensFieldsInOrderTurningTheTable) {
  MenuOnScreen s;
  s.openWorldList();
  auto screen = s.chooseWorld(lakesideSurvival);
  ASSERT_NE(screen, nullptr);
  // Level Name, then Spawn X, Y and Z further down than the screen shows.
  ASSERT_EQ(screen->tableView()->cellForRowAtIndexPath(ui::IndexPath{2, 0}), nullptr) << "Spawn X is off screen";
  std::vector<std::string> visited;
  for (int i = 0; i < 5; ++i) {
    s.driver.pressKeys(*s.window, "Tab");
    s.driver.runUntilIdle();
    visited.push_back(focusedRow(s, *screen));
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"1:0", "2:0", "2:1", "2:2", "1:0"}));

  // What is typed after Tab lands in the tag of that row. Shift+Tab's order
  // is the platform's (KeyCommandsFocus).
  s.driver.pressKeys(*s.window, "Tab");
  s.driver.pressKeys(*s.window, "Tab");
  s.driver.runUntilIdle();
  ASSERT_EQ(focusedRow(s, *screen), "2:1");
  s.driver.type(*s.window, "71");  // over the selected text, then Return
  s.driver.runUntilIdle();
  auto level = worldreader::readLevelDat(s.world("Lakeside Survival") / "level.dat").root;
  EXPECT_EQ(level.number("SpawnY"), 71);
  EXPECT_EQ(focusedRow(s, *screen), "none") << "Return ends editing";

  s.driver.pressKeys(*s.window, "Esc");
  s.driver.runUntilIdle();
  EXPECT_EQ(s.navigation->topViewController(), s.menu->worldsController) << "Escape goes back to the list";
}

}  // namespace
