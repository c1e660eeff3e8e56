// Every player of a world of today's game, through the real screens: the
// demo's Modern Survival world, which friends joined, read back from disk
// with the tests' own reader.
#include "level/PlayersTableViewController.h"

#include <set>

#include <gtest/gtest.h>

#include "equipment/EquipmentThroughTheLevelScreen_test.h"
#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/InventoryViewController.h"
#include "equipment/ItemViewController.h"
#include "level/PlayerTableViewCell.h"
#include "ui/AlertView.h"

namespace {

const char* const modernFolder = "bW9kZXJuAA==";
const std::string alex = "player_server_5c3f7e1a-2b4d-4e8f-9a0b-1c2d3e4f5a6b";

// The row of the top table screen titled `title`, scrolled into view.
std::shared_ptr<LevelTableViewCell> rowTitled(EquipmentStage& s, const std::string& title) {
  auto screen = top<LevelTableViewController>(s);
  if (!screen) return nullptr;
  for (long row = 0; row < screen->tableView()->numberOfRowsInSection(0); ++row) {
    screen->tableView()->scrollToRowAtIndexPath(ui::IndexPath{0, row}, false);
    s.driver.runUntilIdle();
    auto cell = std::dynamic_pointer_cast<LevelTableViewCell>(
        screen->tableView()->cellForRowAtIndexPath(ui::IndexPath{0, row}));
    if (cell && cell->nameLabel->text() == title) return cell;
  }
  return nullptr;
}

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
  tap(s, *rowTitled(s, "Players")->settingView);
  auto list = top<PlayersTableViewController>(s);
  ASSERT_NE(list, nullptr);

  struct Row {
    const char *name, *place, *button;
  };
  const Row rows[] = {{"Local Player", "Overworld -64, 72, 112", "Edit..."},
                      {"Player 09671158", "Overworld -59, 72, 118", "Edit..."},
                      {"Player 72113540", "Nether 12, 40, -4", "Edit..."},
                      {"Player 54321098", "Its record cannot be opened", "Why?"}};
  ASSERT_EQ(list->tableView()->numberOfRowsInSection(0), 4);
  for (long i = 0; i < 4; ++i) {
    list->tableView()->scrollToRowAtIndexPath(ui::IndexPath{0, i}, false);
    s.driver.runUntilIdle();
    auto cell =
        std::dynamic_pointer_cast<PlayerTableViewCell>(list->tableView()->cellForRowAtIndexPath(ui::IndexPath{0, i}));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->nameLabel->text(), rows[i].name);
    EXPECT_EQ(cell->placeLabel->text(), rows[i].place);
    EXPECT_EQ(cell->button->title(), rows[i].button);
  }
  tap(s, *std::static_pointer_cast<PlayerTableViewCell>(list->tableView()->cellForRowAtIndexPath(ui::IndexPath{0, 3}))
              ->button);
  ASSERT_NE(s.window->subviews().size(), 0u);
  EXPECT_EQ(top<PlayersTableViewController>(s), list) << "a missing record opens nothing";
  if (auto alert = std::dynamic_pointer_cast<ui::AlertView>(s.window->subviews().back())) {
    EXPECT_NE(alert->message().find("player_server_0badf00d"), std::string::npos);
    tap(s, *alert->buttonAtIndex(0));
  } else {
    ADD_FAILURE() << "no alert says why";
  }

  list->tableView()->scrollToRowAtIndexPath(ui::IndexPath{0, 1}, false);
  s.driver.runUntilIdle();
  tap(s, *std::static_pointer_cast<PlayerTableViewCell>(list->tableView()->cellForRowAtIndexPath(ui::IndexPath{0, 1}))
              ->button);
  auto screen = top<LevelTableViewController>(s);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->playerKey, alex);
  std::vector<std::string> titles;
  for (const auto& row : screen->definitions.at("Player")) titles.push_back(row.name);
  EXPECT_EQ(titles, (std::vector<std::string>{"Player Mode", "Experience Level", "Armor", "Inventory", "Ender Chest",
                                              "Offhand"}));

  auto mode = std::static_pointer_cast<BVLSegmentedControl>(rowTitled(s, "Player Mode")->settingView);
  ui::Rect creative = mode->segmentFrames()[2];
  s.driver.tap(*s.window, mode->convertToWindow(
                              ui::Point{creative.x() + creative.width() / 2, creative.y() + creative.height() / 2}));
  s.driver.runUntilIdle();
  EXPECT_EQ(mode->selectedSegmentIndex(), 2);

  tap(s, *rowTitled(s, "Ender Chest")->settingView);
  auto chest = top<InventoryViewController>(s);
  ASSERT_NE(chest, nullptr);
  ASSERT_EQ(chest->collectionView()->numberOfItemsInSection(0), 27);
  tap(s, *chest->collectionView()->cellForItemAtIndexPath(ui::IndexPath{0, 4}));
  typeName(s, "minecraft:diamond");
  s.navigation->popViewControllerAnimated(true);
  s.driver.runUntilIdle();

  tap(s, *rowTitled(s, "Offhand")->settingView);
  typeName(s, "minecraft:totem_of_undying");

  auto after = worldreader::databaseContents(s.world);
  for (const auto& [key, value] : before) {
    if (key != alex) {
      EXPECT_TRUE(after.count(key) && after.at(key) == value) << key << " changed";
    }
  }
  EXPECT_EQ(after.size(), before.size());
  TestTag was = worldreader::parseNBT(before.at(alex)), now = worldreader::parseNBT(after.at(alex));
  std::set<std::string> changed{"EnderChestInventory", "Offhand", "PlayerGameMode", "abilities"};
  ASSERT_EQ(was.children.size(), now.children.size());
  for (size_t i = 0; i < was.children.size(); ++i) {
    if (!changed.count(was.children[i].name)) {
      EXPECT_TRUE(was.children[i] == now.children[i]) << was.children[i].name;
    }
  }
  for (size_t slot = 0; slot < 27; ++slot) {
    if (slot != 4) {
      EXPECT_TRUE(was.list("EnderChestInventory")[slot] == now.list("EnderChestInventory")[slot]) << slot;
    }
  }
  EXPECT_EQ(now.string("EnderChestInventory/4/Name"), "minecraft:diamond");
  EXPECT_EQ(now.number("EnderChestInventory/4/Slot"), 4);
  EXPECT_EQ(now.string("EnderChestInventory/0/Name"), "minecraft:gold_ingot") << "the other slots are kept";
  EXPECT_EQ(now.string("Offhand/0/Name"), "minecraft:totem_of_undying");
  EXPECT_EQ(now.number("PlayerGameMode"), 1);
  EXPECT_EQ(now.number("abilities/mayfly"), 1);
  EXPECT_EQ(now.number("abilities/instabuild"), 1);
}

}  // namespace
