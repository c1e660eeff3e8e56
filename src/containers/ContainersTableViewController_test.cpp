#include "containers/ContainersTableViewController.h"

#include <gtest/gtest.h>

#include "ContainerWorld.h"
#include "MenuOnScreen.h"
#include "Tarnbook/TBKNBT.h"
#include "containers/ContainerTableViewCell.h"
#include "equipment/ItemViewController.h"

namespace {

// From the menu to a chest's first slot, whose count is typed: the chunk's
// record on disk holds the new count and every other byte as it was.
TEST(ContainersOnScreen, AChestOfTheListOpensInTheGridAndItsSlotIsChanged) {
  MenuOnScreen s;
  tbktest::writeContainerWorld(s.world("chests").string());
  std::string key = tbktest::chunkKey(0, 0).bytes();
  std::string before = worldreader::readDatabaseValue(s.world("chests"), key).value();
  ASSERT_NE(s.openWorld("chests"), nullptr);
  s.tapEdit("Containers");
  auto list = s.top<ContainersTableViewController>();
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(s.driver.runUntil([&] { return list->listed(); })) << "the listing never arrived";
  s.driver.runUntilIdle();
  ASSERT_EQ(list->sections.size(), 2u);
  auto cell = s.row<ContainerTableViewCell>(*list->tableView(), ui::IndexPath{0, 8});
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->nameLabel->text(), "Chest");
  EXPECT_EQ(cell->detailLabel->text(), "1, 64, 2  2 items");
  s.tap(*cell->button);
  auto grid = s.top<InventoryViewController>();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->collectionView()->numberOfItemsInSection(0), 27);
  grid->didSelectItemAtIndexPath(*grid->collectionView(), ui::IndexPath{0, 0});
  s.driver.runUntilIdle();
  auto editor = s.top<ItemViewController>();
  ASSERT_NE(editor, nullptr);
  s.typeInto(editor->countField, "40");
  std::string root = TBKNBT::serialise(*tbktest::containerChunks()[0].roots[0]);
  std::string expected = before;
  expected.replace(before.find(root), root.size(),
                   worldreader::withPayload(root, "Items/0/Count", worldreader::littleEndian(40, 1)));
  EXPECT_EQ(worldreader::readDatabaseValue(s.world("chests"), key), expected);
}

}  // namespace
