// The way a user reaches the equipment screens: the world list, a world's
// level screen and its two "Edit..." buttons; the results read from disk.
#include <algorithm>

#include <gtest/gtest.h>

#include "equipment/ArmorViewController.h"
#include "equipment/EquipmentThroughTheLevelScreen_test.h"
#include "equipment/InventoryViewController.h"
#include "equipment/ItemSelectorTableViewController.h"
#include "equipment/ItemViewController.h"

namespace {

TEST(EquipmentFromTheLevelScreen, TheEditButtonsLeadToScreensThatWriteTheWorld) {
  EquipmentStage s;
  auto worlds = std::make_shared<WorldListTableViewController>();
  s.push(worlds);
  auto names = TBKLevelDB::worlds();
  long lakeside = std::find(names.begin(), names.end(), "Lakeside Survival") - names.begin();
  auto row = worlds->tableView()->cellForRowAtIndexPath(ui::IndexPath{0, lakeside});
  ASSERT_NE(row, nullptr);
  s.driver.tap(*row);
  s.driver.runUntilIdle();

  tapEdit(s, "Inventory");
  auto inventory = top<InventoryViewController>(s);
  ASSERT_NE(inventory, nullptr);
  size_t writes = s.playerWrites();
  inventory->plusButton()->trigger();
  EXPECT_EQ(s.playerWrites(), writes + 1);
  auto added = s.playerOnDisk().list("Inventory");
  ASSERT_EQ(added.size(), 46u);
  EXPECT_EQ(added[45].number("Slot"), 45);
  EXPECT_EQ(added[45].number("id"), 1);

  s.driver.tap(*inventory->collectionView()->cellForItemAtIndexPath(ui::IndexPath{0, 0}));
  s.driver.runUntilIdle();
  auto editor = top<ItemViewController>(s);
  ASSERT_NE(editor, nullptr);
  s.typeInto(*editor->countField, "300");
  EXPECT_EQ(editor->countField->text(), "44");
  EXPECT_EQ(s.playerOnDisk().number("Inventory/9/Count"), 44);

  s.driver.tap(*editor->idSelectButton);
  s.driver.runUntilIdle();
  auto picker = top<ItemSelectorTableViewController>(s);
  ASSERT_NE(picker, nullptr);
  s.driver.tap(*picker->searchBar()->textField());
  s.driver.type(*s.window, "LiMe", false);
  s.driver.runUntilIdle();
  auto limeDye = picker->searchDisplayController()->searchResultsTableView()->cellForRowAtIndexPath({0, 1});
  ASSERT_NE(limeDye, nullptr);
  s.driver.tap(*limeDye);
  s.driver.runUntilIdle();
  EXPECT_EQ(top<ItemViewController>(s), editor);
  EXPECT_EQ(s.playerOnDisk().number("Inventory/9/id"), 351);
  EXPECT_EQ(s.playerOnDisk().number("Inventory/9/Damage"), 10);

  s.navigation->popViewControllerAnimated(true);
  s.driver.runUntilIdle();
  s.navigation->popViewControllerAnimated(true);
  s.driver.runUntilIdle();
  tapEdit(s, "Armor");
  auto armor = top<ArmorViewController>(s);
  ASSERT_NE(armor, nullptr);
  armor->tableView->scrollToRowAtIndexPath(ui::IndexPath{4, 3}, false);
  s.driver.tap(*armor->tableView->cellForRowAtIndexPath(ui::IndexPath{4, 3}));
  s.driver.runUntilIdle();
  auto onDisk = s.playerOnDisk();
  EXPECT_EQ(onDisk.number("Armor/3/id"), 313) << "diamond boots";
  EXPECT_EQ(onDisk.number("Inventory/9/Count"), 44) << "the inventory's edits kept: one tree for all screens";
  EXPECT_EQ(onDisk.number("Inventory/9/id"), 351);
  EXPECT_EQ(onDisk.list("Inventory").size(), 46u);
}

}  // namespace
