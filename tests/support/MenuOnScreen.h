#pragma once

// Test-only: the real program's screens in a window over a private copy of
// the demo game, with the menu at the root, and the steps a player takes
// through them (taps, typing, the rows of a table).

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "DemoGame.h"
#include "WorldReader.h"
#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/InventoryViewController.h"
#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "level/LevelTableViewCell.h"
#include "level/LevelTableViewController.h"
#include "menu/MenuViewController.h"
#include "options/OptionTableViewCell.h"
#include "ui/AlertView.h"
#include "ui/Font.h"
#include "ui/Image.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "ui/TestDriver.h"
#include "ui/TextField.h"
#include "ui/Window.h"
#include "worlds/WorldListTableViewController.h"
#include "worlds/WorldTableViewCell.h"

struct MenuOnScreen {
  DemoGame game;
  ui::TestDriver driver;
  std::shared_ptr<ui::Window> window;
  std::shared_ptr<ui::NavigationController> navigation = std::make_shared<ui::NavigationController>();
  std::shared_ptr<MenuViewController> menu;

  explicit MenuOnScreen(double width = 568) {
    ui::Screen::main().setBounds(ui::Rect(0, 0, width, 320));
    GSFontAddFromFile((game.app() / "minecraft.ttf").c_str());
    window = std::make_shared<ui::Window>(ui::Screen::main().bounds());
    menu = std::make_shared<MenuViewController>();
    navigation->addChildViewController(menu);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    driver.runUntilIdle();
  }

  std::filesystem::path world(const std::string& folder) const {
    return game.gameDataFolder() / "minecraftWorlds" / folder;
  }

  template <class Screen>
  std::shared_ptr<Screen> top() const {
    return std::dynamic_pointer_cast<Screen>(navigation->topViewController());
  }

  void tap(const ui::View& view) {
    driver.tap(view);
    driver.runUntilIdle();
  }

  // Taps the menu's "Edit..." button.
  std::shared_ptr<WorldListTableViewController> openWorldList() {
    tap(*menu->editButton);
    return menu->worldsController;
  }

  // The row's cell, scrolled into view.
  std::shared_ptr<WorldTableViewCell> worldRow(long row) {
    auto table = menu->worldsController->tableView();
    table->scrollToRowAtIndexPath(ui::IndexPath{0, row}, false);
    driver.runUntilIdle();
    return std::dynamic_pointer_cast<WorldTableViewCell>(table->cellForRowAtIndexPath(ui::IndexPath{0, row}));
  }

  // Taps a row of the world list; the level screen it opened, or null.
  std::shared_ptr<LevelTableViewController> chooseWorld(long row) {
    auto cell = worldRow(row);
    if (!cell) return nullptr;
    tap(*cell);
    return top<LevelTableViewController>();
  }

  // From the menu on: the level screen of the world in `folder`, or null.
  std::shared_ptr<LevelTableViewController> openWorld(const std::string& folder) {
    auto names = TBKLevelDB::worlds();
    auto found = std::find(names.begin(), names.end(), folder);
    if (found == names.end()) return nullptr;
    openWorldList();
    return chooseWorld(found - names.begin());
  }

  // Opens a screen as the menu opens its own: with the navigation bar shown.
  void push(const std::shared_ptr<ui::ViewController>& screen) {
    navigation->pushViewController(screen, true);
    navigation->setNavigationBarHidden(false, false);
    driver.runUntilIdle();
  }

  void back() {
    navigation->popViewControllerAnimated(true);
    driver.runUntilIdle();
  }

  // The alert floating over the window, or null.
  std::shared_ptr<ui::AlertView> shownAlert() const {
    for (auto& view : window->subviews()) {
      if (auto alert = std::dynamic_pointer_cast<ui::AlertView>(view)) return alert;
    }
    return nullptr;
  }

  // The shown alert's message, after its first button is tapped; "" when none shows.
  std::string dismissAlert() {
    auto alert = shownAlert();
    if (!alert) return "";
    std::string message = alert->message();
    tap(*alert->buttonAtIndex(0));
    return message;
  }

  // The reason of the refusal shown (showRefusal's "Not Written" alert),
  // after it is dismissed; "" unless it is the one alert shown: one refused
  // change is told once.
  std::string dismissRefusal() {
    auto alert = shownAlert();
    long alerts = std::count_if(window->subviews().begin(), window->subviews().end(),
                                [](const auto& view) { return std::dynamic_pointer_cast<ui::AlertView>(view); });
    return alert && alerts == 1 && alert->title() == "Not Written" ? dismissAlert() : "";
  }

  void tapSegment(const std::shared_ptr<BVLSegmentedControl>& control, long index) {
    ASSERT_NE(control, nullptr);
    ui::Rect segment = control->segmentFrames().at(size_t(index));
    driver.tap(*window, control->convertToWindow(
                            ui::Point{segment.x() + segment.width() / 2, segment.y() + segment.height() / 2}));
    driver.runUntilIdle();
  }

  // Replaces a field's text the way a user does (select all, type), and ends the editing.
  void typeInto(const std::shared_ptr<ui::TextField>& field, const std::string& text) {
    ASSERT_NE(field, nullptr);
    tap(*field);
    driver.pressKeys(*window, "Ctrl+A");
    if (text.empty()) driver.pressKeys(*window, "Backspace");
    driver.type(*window, text);
    driver.runUntilIdle();
  }

  // The cell at `position` of an inventory screen's grid.
  static std::shared_ptr<InventoryCollectionViewCell> gridCell(InventoryViewController& screen, long position) {
    return std::dynamic_pointer_cast<InventoryCollectionViewCell>(
        screen.collectionView()->cellForItemAtIndexPath(ui::IndexPath{0, position}));
  }

  // Types `name` into a tag tree's search field (its Return chooses the first
  // row found), then Return on that row and `value` over its value.
  void searchAndEdit(ui::TextField& search, const std::string& name, const std::string& value) {
    tap(search);
    driver.pressKeys(*window, "Ctrl+A");
    driver.type(*window, name);
    driver.pressReturn(*window);
    driver.type(*window, value);
    driver.runUntilIdle();
  }

  // The cell of a table's row, scrolled clear of the pinned section header too,
  // so that a tap reaches it.
  template <class Cell = ui::TableViewCell>
  std::shared_ptr<Cell> row(ui::TableView& table, ui::IndexPath path) {
    ui::Rect rect = table.rectForRowAtIndexPath(path);
    table.scrollRectToVisible(ui::Rect(rect.x(), rect.y() - 26, rect.width(), rect.height() + 26), false);
    driver.runUntilIdle();
    return std::dynamic_pointer_cast<Cell>(table.cellForRowAtIndexPath(path));
  }

  // The widget of a level screen's or options screen's row.
  template <class Widget>
  std::shared_ptr<Widget> widget(ui::TableView& table, ui::IndexPath path) {
    auto cell = row(table, path);
    if (auto level = std::dynamic_pointer_cast<LevelTableViewCell>(cell))
      return std::dynamic_pointer_cast<Widget>(level->settingView);
    if (auto option = std::dynamic_pointer_cast<OptionTableViewCell>(cell))
      return std::dynamic_pointer_cast<Widget>(option->settingView);
    return nullptr;
  }

  // The shown level screen's row titled `title`; null when there is none.
  std::shared_ptr<LevelTableViewCell> rowTitled(const std::string& title) {
    auto screen = top<LevelTableViewController>();
    if (!screen) return nullptr;
    auto& table = *screen->tableView();
    for (long section = 0; section < table.numberOfSections(); ++section) {
      for (long at = 0; at < table.numberOfRowsInSection(section); ++at) {
        auto cell = row<LevelTableViewCell>(table, ui::IndexPath{section, at});
        if (cell && cell->nameLabel->text() == title) return cell;
      }
    }
    return nullptr;
  }

  // Taps the widget (an "Edit..." button) of the level screen's row titled `title`.
  void tapEdit(const std::string& title) {
    auto cell = rowTitled(title);
    ASSERT_NE(cell, nullptr) << "no row " << title;
    tap(*cell->settingView);
  }
};

// The menu over one world whose database and player tree are at hand, as
// the level screen hands them on to the equipment screens. Set-up goes
// through the library; the checks read the disk with the tests' own reader.
struct WorldOnScreen : MenuOnScreen {
  std::string folder;
  std::filesystem::path path = world(folder);
  std::shared_ptr<TBKLevelDB> db = TBKLevelDB::dbForWorldNamed(folder);
  std::shared_ptr<TBKCompoundTag> player = db->player();

  // "Lakeside Survival" holds 9 hotbar links and 36 items, and four pieces
  // of armor (306, 307, 300 and none).
  explicit WorldOnScreen(std::string worldFolder = "Lakeside Survival") : folder(std::move(worldFolder)) {}

  void changePlayer(const std::function<void(TBKCompoundTag&)>& change) {
    change(*player);
    db->setPlayer(player);
  }

  TestTag playerOnDisk() const { return worldreader::readPlayer(path); }
  std::string record() const { return worldreader::readDatabaseValue(path, "~local_player").value(); }

  // Writes of the player record so far: each one is a record in the
  // database's write-ahead log that carries the key.
  size_t playerWrites() const {
    const std::string key = "~local_player";
    size_t writes = 0;
    for (const auto& file : std::filesystem::directory_iterator(path / "db")) {
      if (file.path().extension() != ".log") continue;
      std::ifstream in(file.path(), std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      for (size_t at = bytes.find(key); at != std::string::npos; at = bytes.find(key, at + 1)) ++writes;
    }
    return writes;
  }
};

// The same picture: same size and the same pixels.
inline bool samePicture(const std::shared_ptr<ui::Image>& a, const std::shared_ptr<ui::Image>& b) {
  if (!a || !b) return a == b;
  if (a->pixelWidth() != b->pixelWidth() || a->pixelHeight() != b->pixelHeight()) return false;
  for (int y = 0; y < a->pixelHeight(); ++y) {
    for (int x = 0; x < a->pixelWidth(); ++x) {
      if (a->pixel(x, y) != b->pixel(x, y)) return false;
    }
  }
  return true;
}
