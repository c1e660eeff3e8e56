// The creature screens end to end over the demo's Lakeside world with the
// tests' creatures written into it; the disk is read with the tests' own
// reader.
#include "creatures/CreaturesTableViewController.h"

#include <gtest/gtest.h>

#include "CreatureWorld.h"
#include "MenuOnScreen.h"
#include "creatures/CreatureTableViewCell.h"
#include "creatures/CreatureViewController.h"

namespace {

namespace cw = creatureworld;

struct Creatures : MenuOnScreen {
  std::shared_ptr<CreaturesTableViewController> list;

  Creatures() {
    cw::write(world("Lakeside Survival"));
    openWorld("Lakeside Survival");
    tapEdit("Creatures");
    list = top<CreaturesTableViewController>();
    if (list) driver.runUntil([&] { return !list->isListing(); });
  }
  // Taps the list's row showing `text`.
  void tapRow(const std::string& text) {
    auto& sections = list->sections();
    for (size_t section = 0; section <= sections.size(); ++section) {
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
  std::map<std::string, std::string> contents() { return worldreader::databaseContents(world("Lakeside Survival")); }
};

TEST(CreatureScreens, RenameAVillagerBringAWolfHomeRemoveAZombieAndClearTheDroppedItems) {
  Creatures s;
  ASSERT_NE(s.list, nullptr);
  ASSERT_FALSE(s.list->isListing());
  EXPECT_EQ(s.dismissAlert().find("Some creatures could not be listed."), 0u);
  auto before = s.contents();

  s.tapRow("Smith");
  s.typeInto(std::dynamic_pointer_cast<BVLTextField>(s.widgetOf("Name")), "Mason");
  s.back();
  s.tapRow("Rex");
  s.tap(*s.widgetOf("Bring to the Player"));
  s.back();
  s.tapRow("Zombie");
  s.tap(*s.widgetOf("Remove"));
  s.tap(*s.shownAlert()->buttonAtIndex(1));
  s.tapRow(CreaturesTableViewController::clearItemsTitle);
  EXPECT_EQ(s.shownAlert()->message(), "Remove 2 dropped items?");
  s.tap(*s.shownAlert()->buttonAtIndex(1));

  auto after = s.contents();
  auto smith = worldreader::parseNBT(after.at(cw::entityKey(cw::smith)));
  EXPECT_EQ(smith.string("CustomName"), "Mason");
  EXPECT_EQ(after.at(cw::digestKey(2, -2)), "") << "the wolf left its chunk's digest";
  // The demo's player stands at its spawn in the Overworld, in chunk 13, -7.
  EXPECT_EQ(after.at(cw::digestKey(13, -7)), worldreader::littleEndian(cw::wolf, 8));
  for (int64_t gone : {cw::zombie, cw::apple, cw::stone}) EXPECT_EQ(after.count(cw::entityKey(gone)), 0u) << gone;
  EXPECT_EQ(after.at(cw::digestKey(-2, 0, 1)), "");
  EXPECT_EQ(after.at(cw::digestKey(1, 0)),
            worldreader::littleEndian(cw::orb, 8) + worldreader::littleEndian(cw::missing, 8));
  EXPECT_EQ(after.at(cw::entityKey(cw::cyclops)), before.at(cw::entityKey(cw::cyclops)));
  EXPECT_EQ(after.at(cw::oldFormKey(5, 5)), before.at(cw::oldFormKey(5, 5)));
}

}  // namespace
