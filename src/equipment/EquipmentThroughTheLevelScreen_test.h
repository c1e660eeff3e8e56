#pragma once

// The way a user reaches the equipment screens: the world list, a world's
// level screen, its rows and their "Edit..." buttons.

#include <algorithm>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "equipment/EquipmentStage_test.h"
#include "level/LevelTableViewCell.h"
#include "level/LevelTableViewController.h"
#include "worlds/WorldListTableViewController.h"

template <class Screen>
std::shared_ptr<Screen> top(EquipmentStage& s) {
  return std::dynamic_pointer_cast<Screen>(s.navigation->topViewController());
}

// Pushes the world list and taps the row of the world in `folder`.
inline void chooseWorld(EquipmentStage& s, const std::string& folder) {
  auto worlds = std::make_shared<WorldListTableViewController>();
  s.push(worlds);
  auto names = TBKLevelDB::worlds();
  auto found = std::find(names.begin(), names.end(), folder);
  ASSERT_NE(found, names.end()) << folder;
  ui::IndexPath path{0, found - names.begin()};
  worlds->tableView()->scrollToRowAtIndexPath(path, false);
  s.driver.runUntilIdle();
  auto row = worlds->tableView()->cellForRowAtIndexPath(path);
  ASSERT_NE(row, nullptr);
  s.driver.tap(*row);
  s.driver.runUntilIdle();
  ASSERT_NE(top<LevelTableViewController>(s), nullptr);
}

// The row of the level screen's first section titled `title`, scrolled
// into view; null when there is none.
inline std::shared_ptr<LevelTableViewCell> rowTitled(EquipmentStage& s, const std::string& title) {
  auto screen = top<LevelTableViewController>(s);
  if (!screen) return nullptr;
  auto& table = *screen->tableView();
  for (long section = 0; section < table.numberOfSections(); ++section) {
    for (long row = 0; row < table.numberOfRowsInSection(section); ++row) {
      table.scrollToRowAtIndexPath(ui::IndexPath{section, row}, false);
      s.driver.runUntilIdle();
      auto cell =
          std::dynamic_pointer_cast<LevelTableViewCell>(table.cellForRowAtIndexPath(ui::IndexPath{section, row}));
      if (cell && cell->nameLabel->text() == title) return cell;
    }
  }
  return nullptr;
}

// Taps the "Edit..." button of the level screen's row titled `title`.
inline void tapEdit(EquipmentStage& s, const std::string& title) {
  auto row = rowTitled(s, title);
  ASSERT_NE(row, nullptr) << "no row " << title;
  s.driver.tap(*row->settingView);
  s.driver.runUntilIdle();
}
