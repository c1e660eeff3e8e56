#pragma once

// Test-only: the creature screens driven as a player drives them, from the
// level screen's Creatures row.

#include <memory>
#include <string>

#include "MenuOnScreen.h"
#include "creatures/CreatureTableViewCell.h"
#include "creatures/CreatureViewController.h"
#include "creatures/CreaturesTableViewController.h"

struct CreaturesOnScreen : MenuOnScreen {
  std::shared_ptr<CreaturesTableViewController> list;

  // From the level screen on top: the list, once its worker has listed.
  void openCreatures() {
    tapEdit("Creatures");
    list = top<CreaturesTableViewController>();
    if (list) driver.runUntil([&] { return !list->isListing(); });
  }
  // Taps the list's row showing `text`.
  void tapRow(const std::string& text) {
    for (size_t section = 0; list && section <= list->sections().size(); ++section) {
      for (long at = 0; at < list->tableView()->numberOfRowsInSection(long(section)); ++at) {
        auto cell = row<CreatureTableViewCell>(*list->tableView(), {long(section), at});
        if (cell && cell->titleLabel->text() == text) return tap(*cell);
      }
    }
    ADD_FAILURE() << "no row " << text;
  }
  // The widget of the creature screen's row titled `title`.
  std::shared_ptr<ui::View> widgetOf(const std::string& title) {
    auto screen = top<CreatureViewController>();
    for (long section = 0; screen && section < screen->tableView()->numberOfSections(); ++section) {
      for (long at = 0; at < screen->tableView()->numberOfRowsInSection(section); ++at) {
        auto cell = row<LevelTableViewCell>(*screen->tableView(), {section, at});
        if (cell && cell->nameLabel->text() == title) return cell->settingView;
      }
    }
    ADD_FAILURE() << "no row " << title;
    return std::make_shared<ui::View>();
  }
};
