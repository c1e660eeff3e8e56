#pragma once

// Test-only: the real program's screens in a window over a private copy of
// the demo game, with the menu at the root and helpers to reach a world.

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "DemoGame.h"
#include "level/LevelTableViewController.h"
#include "menu/MenuViewController.h"
#include "ui/AlertView.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "ui/TestDriver.h"
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

  // Taps the menu's "Edit..." button.
  std::shared_ptr<WorldListTableViewController> openWorldList() {
    driver.tap(*menu->editButton);
    driver.runUntilIdle();
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
    driver.tap(*cell);
    driver.runUntilIdle();
    return std::dynamic_pointer_cast<LevelTableViewController>(navigation->topViewController());
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

  void tapAt(const ui::View& view, ui::Point local) { driver.tap(*window, view.convertToWindow(local)); }
};
