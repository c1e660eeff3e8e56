// Every player of a world of today's game, through the real screens: the
// demo's Modern Survival world, which friends joined, read back from disk
// with the tests' own reader.
#include "level/PlayersTableViewController.h"

#include <gtest/gtest.h>

#include "equipment/EquipmentThroughTheLevelScreen_test.h"
#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/InventoryViewController.h"
#include "equipment/ItemViewController.h"
#include "level/PlayerTableViewCell.h"
#include "tree/TagTreeViewController.h"
#include "ui/AlertView.h"

namespace {

const char* const modernFolder = "bW9kZXJuAA==";
const std::string alex = "player_server_5c3f7e1a-2b4d-4e8f-9a0b-1c2d3e4f5a6b";

void tap(EquipmentStage& s, ui::View& view) {
  s.driver.tap(view);
  s.driver.runUntilIdle();
}

void typeName(EquipmentStage& s, const std::string& name) {
  auto editor = top<ItemViewController>(s);
  ASSERT_NE(editor, nullptr);
  s.typeInto(*editor->idField, name);
  s.navigation->popViewControllerAnimated(true);
  s.driver.runUntilIdle();
}

TEST(PlayersOfAWorld, ASecondPlayersEnderChestOffhandAndModeChangeTheirRecordAlone) {
  EquipmentStage s(568, 320, modernFolder);
  s.db.reset();  // the screens open the world themselves
  auto before = worldreader::databaseContents(s.world);
  chooseWorld(s, modernFolder);
  tapEdit(s, "Players");
  auto list = top<PlayersTableViewController>(s);
  ASSERT_NE(list, nullptr);

  ASSERT_EQ(list->tableView()->numberOfRowsInSection(0), 4);
  auto row = [&](long i) {
    list->tableView()->scrollToRowAtIndexPath(ui::IndexPath{0, i}, false);
    s.driver.runUntilIdle();
    return std::static_pointer_cast<PlayerTableViewCell>(list->tableView()->cellForRowAtIndexPath(ui::IndexPath{0, i}));
  };
  EXPECT_EQ(row(1)->placeLabel->text(), "Overworld -59, 72, 118");
  EXPECT_EQ(row(2)->placeLabel->text(), "Nether 12, 40, -4");
  EXPECT_EQ(row(3)->placeLabel->text(), "Its record cannot be opened");
  tap(s, *row(3)->button);
  EXPECT_EQ(top<PlayersTableViewController>(s), list) << "a missing record opens nothing";
  auto alert = std::dynamic_pointer_cast<ui::AlertView>(s.window->subviews().back());
  ASSERT_NE(alert, nullptr) << "an alert says why";
  EXPECT_NE(alert->message().find("player_server_0badf00d"), std::string::npos);
  tap(s, *alert->buttonAtIndex(0));

  tap(s, *row(1)->button);
  ASSERT_NE(top<LevelTableViewController>(s), nullptr);

  auto mode = std::static_pointer_cast<BVLSegmentedControl>(rowTitled(s, "Player Mode")->settingView);
  ui::Rect creative = mode->segmentFrames()[2];
  s.driver.tap(*s.window, mode->convertToWindow(
                              ui::Point{creative.x() + creative.width() / 2, creative.y() + creative.height() / 2}));
  s.driver.runUntilIdle();
  EXPECT_EQ(mode->selectedSegmentIndex(), 2);

  tapEdit(s, "Ender Chest");
  auto chest = top<InventoryViewController>(s);
  ASSERT_NE(chest, nullptr);
  ASSERT_EQ(chest->collectionView()->numberOfItemsInSection(0), 27);
  tap(s, *chest->collectionView()->cellForItemAtIndexPath(ui::IndexPath{0, 4}));
  typeName(s, "minecraft:diamond");
  s.navigation->popViewControllerAnimated(true);
  s.driver.runUntilIdle();

  tapEdit(s, "Offhand");
  typeName(s, "minecraft:totem_of_undying");

  tapEdit(s, "Player Data");
  auto tree = top<TagTreeViewController>(s);
  ASSERT_NE(tree, nullptr);
  s.driver.tap(*tree->searchField());
  s.driver.type(*s.window, "PlayerLevel");  // Return: the first row found is chosen
  s.driver.pressReturn(*s.window);
  s.driver.type(*s.window, "13");
  s.driver.runUntilIdle();

  auto after = worldreader::databaseContents(s.world);
  for (const auto& [key, value] : before) {
    if (key != alex) {
      EXPECT_TRUE(after.count(key) && after.at(key) == value) << key << " changed";
    }
  }
  EXPECT_EQ(after.size(), before.size());
  // Its mode, abilities, the two entries and the tree's edit: every other byte of it is kept.
  std::string expected = worldreader::withPayload(before.at(alex), "PlayerGameMode", worldreader::littleEndian(1, 4));
  for (const char* ability : {"mayfly", "invulnerable", "instabuild"}) {
    expected = worldreader::withPayload(expected, std::string("abilities/") + ability, worldreader::littleEndian(1, 1));
  }
  expected = worldreader::withPayload(expected, "EnderChestInventory/4/Name",
                                      worldreader::littleEndian(17, 2) + "minecraft:diamond");
  expected = worldreader::withPayload(expected, "Offhand/0/Name",
                                      worldreader::littleEndian(26, 2) + "minecraft:totem_of_undying");
  expected = worldreader::withPayload(expected, "PlayerLevel", worldreader::littleEndian(13, 4));
  EXPECT_EQ(after.at(alex), expected);
}

}  // namespace
