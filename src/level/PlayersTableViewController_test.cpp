// Every player of a world of today's game, through the real screens: the
// demo's Modern Survival world, which friends joined, read back from disk
// with the tests' own reader.
#include "level/PlayersTableViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "equipment/InventoryViewController.h"
#include "equipment/ItemViewController.h"
#include "level/PlayerTableViewCell.h"
#include "tree/TagTreeViewController.h"

namespace {

const char* const modernFolder = "bW9kZXJuAA==";
const std::string alex = "player_server_5c3f7e1a-2b4d-4e8f-9a0b-1c2d3e4f5a6b";

// Types over the shown item editor's name and goes back.
void typeName(MenuOnScreen& s, const std::string& name) {
  auto editor = s.top<ItemViewController>();
  ASSERT_NE(editor, nullptr);
  s.typeInto(editor->idField, name);
  s.back();
}

// The world's own trees first (a game rule, the local player's level), then
// a second player's mode, ender chest, offhand and tree: each record and
// level.dat change by the edited bytes alone.
TEST(PlayersOfAWorld, EachPlayersEditsChangeTheirOwnRecordAlone) {
  MenuOnScreen s;
  const auto world = s.world(modernFolder);
  const std::string level = worldreader::readFile(world / "level.dat");
  auto before = worldreader::databaseContents(world);
  ASSERT_NE(s.openWorld(modernFolder), nullptr);
  struct Edit {
    const char *row, *name, *value;
  };
  for (const Edit& edit : {Edit{"Level Data", "KEEPINVENTORY", "1"}, Edit{"Player Data", "playerlevel", "13"}}) {
    s.tapEdit(edit.row);
    auto tree = s.top<TagTreeViewController>();
    ASSERT_NE(tree, nullptr) << edit.row;
    s.searchAndEdit(*tree->searchField(), edit.name, edit.value);
    s.back();
  }
  s.tapEdit("Players");
  auto list = s.top<PlayersTableViewController>();
  ASSERT_NE(list, nullptr);

  ASSERT_EQ(list->tableView()->numberOfRowsInSection(0), 4);
  auto row = [&](long i) { return s.row<PlayerTableViewCell>(*list->tableView(), {0, i}); };
  EXPECT_EQ(row(1)->placeLabel->text(), "Overworld -59, 72, 118");
  EXPECT_EQ(row(2)->placeLabel->text(), "Nether 12, 40, -4");
  EXPECT_EQ(row(3)->placeLabel->text(), "Its record cannot be opened");
  s.tap(*row(3)->button);
  EXPECT_EQ(s.top<PlayersTableViewController>(), list) << "a missing record opens nothing";
  EXPECT_NE(s.dismissAlert().find("player_server_0badf00d"), std::string::npos) << "an alert says why";

  s.tap(*row(1)->button);
  ASSERT_NE(s.top<LevelTableViewController>(), nullptr);

  auto mode = std::static_pointer_cast<BVLSegmentedControl>(s.rowTitled("Player Mode")->settingView);
  s.tapSegment(mode, 2);
  EXPECT_EQ(mode->selectedSegmentIndex(), 2);

  s.tapEdit("Ender Chest");
  auto chest = s.top<InventoryViewController>();
  ASSERT_NE(chest, nullptr);
  ASSERT_EQ(chest->collectionView()->numberOfItemsInSection(0), 27);
  s.tap(*chest->collectionView()->cellForItemAtIndexPath(ui::IndexPath{0, 4}));
  typeName(s, "minecraft:diamond");
  s.back();

  s.tapEdit("Offhand");
  typeName(s, "minecraft:totem_of_undying");

  s.tapEdit("Player Data");
  auto tree = s.top<TagTreeViewController>();
  ASSERT_NE(tree, nullptr);
  s.searchAndEdit(*tree->searchField(), "PlayerLevel", "13");

  auto after = worldreader::databaseContents(world);
  for (const auto& [key, value] : before) {
    if (key != alex && key != "~local_player") {
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
  EXPECT_EQ(after.at("~local_player"),
            worldreader::withPayload(before.at("~local_player"), "PlayerLevel", worldreader::littleEndian(13, 4)));
  EXPECT_EQ(worldreader::readFile(world / "level.dat"),
            worldreader::withPayload(level, "keepinventory", worldreader::littleEndian(1, 1), true));
}

}  // namespace
