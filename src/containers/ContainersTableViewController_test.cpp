#include "containers/ContainersTableViewController.h"

#include <gtest/gtest.h>

#include "ContainerWorld.h"
#include "MenuOnScreen.h"
#include "Tarnbook/TBKNBT.h"
#include "containers/ContainerTableViewCell.h"
#include "containers/FindItemTableViewController.h"
#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/ItemSelectorTableViewController.h"
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
  // The world's damaged record is told; the others are listed.
  EXPECT_EQ(s.dismissAlert().rfind("Some containers could not be listed. The block entities of chunk 3, 0", 0), 0u);
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

// "furnace" typed in the search field leaves one row, whose grid names
// each of its three slots.
TEST(ContainersOnScreen, TheSearchFindsTheFurnaceWhoseSlotsSayWhatEachIsFor) {
  MenuOnScreen s;
  tbktest::writeContainerWorld(s.world("chests").string());
  ASSERT_NE(s.openWorld("chests"), nullptr);
  s.tapEdit("Containers");
  auto list = s.top<ContainersTableViewController>();
  ASSERT_TRUE(list && s.driver.runUntil([&] { return list->listed(); }));
  s.dismissAlert();
  s.tap(*list->searchBar()->textField());
  s.driver.type(*s.window, "furnace", false);
  s.driver.runUntilIdle();
  ASSERT_EQ(list->tableView()->numberOfRowsInSection(0), 1);
  ASSERT_EQ(list->tableView()->numberOfSections(), 1);
  s.tap(*s.row<ContainerTableViewCell>(*list->tableView(), ui::IndexPath{0, 0})->button);
  auto grid = s.top<InventoryViewController>();
  ASSERT_NE(grid, nullptr);
  std::vector<std::string> captions;
  for (long cell = 0; cell < 3; ++cell) captions.push_back(s.gridCell(*grid, cell)->captionView()->text());
  EXPECT_EQ(captions, (std::vector<std::string>{"Input", "Fuel", "Result"}));
}

// The elytra chosen in the picker lies in the ender chest, a chest and a box
// inside a barrel: each row opens its place with the elytra's own slot in
// the item editor, over the grid (the box's own grid) that holds it.
TEST(ContainersOnScreen, FindAnItemListsEachPlaceAndOpensItAtTheItemsSlot) {
  MenuOnScreen s;
  tbktest::writeContainerWorld(s.world("chests").string());
  ASSERT_NE(s.openWorld("chests"), nullptr);
  s.tapEdit("Find an Item");
  auto picker = s.top<ItemSelectorTableViewController>();
  ASSERT_NE(picker, nullptr);
  const auto& items = picker->allItems();
  auto catalogue = BVLItemIDSource::sharedSource();
  long elytra = 0;
  while (size_t(elytra) < items.size() &&
         catalogue->itemDefinitionWithStringRepresentation(items[size_t(elytra)])->identifier != "minecraft:elytra")
    ++elytra;
  ASSERT_LT(size_t(elytra), items.size()) << "no elytra in the picker";
  picker->didSelectRowAtIndexPath(*picker->tableView(), ui::IndexPath{0, elytra});
  s.driver.runUntilIdle();
  auto found = s.top<FindItemTableViewController>();
  ASSERT_NE(found, nullptr);
  ASSERT_TRUE(s.driver.runUntil([&] { return found->listed(); })) << "the places never arrived";
  s.driver.runUntilIdle();
  EXPECT_EQ(s.dismissAlert().rfind("Some records could not be looked through. The block entities of chunk 3, 0", 0),
            0u);
  struct Case {
    std::string name, detail, grid, slot;
  } cases[] = {
      {"the local player", "ender chest, slot 1  1 item", "Ender Chest", "7"},
      {"Chest", "1, 64, 2 in the Overworld, slot 6  1 item", "Chest", "5"},
      {"Loot", "17, 64, 3 in the Overworld, slot 3, in a box (its slot 1)  1 item", "Wings", "0"},
  };
  ASSERT_EQ(found->tableView()->numberOfRowsInSection(0), 3);
  for (long row = 0; row < 3; ++row) {
    const Case& c = cases[row];
    auto cell = s.row<ContainerTableViewCell>(*found->tableView(), ui::IndexPath{0, row});
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->nameLabel->text(), c.name);
    EXPECT_EQ(cell->detailLabel->text(), c.detail);
    s.tap(*cell->button);
    s.driver.runUntilIdle();
    auto editor = s.top<ItemViewController>();
    ASSERT_NE(editor, nullptr) << c.name;
    EXPECT_EQ(editor->idField->text(), "minecraft:elytra") << c.name;
    EXPECT_EQ(editor->slotLabel2->text(), c.slot) << c.name;
    const auto& stack = s.navigation->viewControllers();
    EXPECT_EQ(stack.at(stack.size() - 2)->title(), c.grid) << c.name;
    while (s.navigation->topViewController() != found) {
      s.navigation->popViewControllerAnimated(false);
      s.driver.runUntilIdle();
    }
  }
}

}  // namespace
