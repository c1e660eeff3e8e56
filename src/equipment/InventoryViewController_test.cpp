#include "equipment/InventoryViewController.h"

#include <gtest/gtest.h>

#include "equipment/EquipmentStage_test.h"
#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/ItemViewController.h"

namespace {

struct InventoryOnScreen : EquipmentStage {
  std::shared_ptr<InventoryViewController> inventory;

  explicit InventoryOnScreen(double width = 568, const std::function<void(TBKCompoundTag&)>& setUp = nullptr)
      : EquipmentStage(width) {
    if (setUp) changePlayer(setUp);
    inventory = std::make_shared<InventoryViewController>(std::make_shared<EquipmentRecord>(db, player));
    push(inventory);
  }

  ui::CollectionView& grid() { return *inventory->collectionView(); }
  std::shared_ptr<InventoryCollectionViewCell> cell(long position) {
    return std::dynamic_pointer_cast<InventoryCollectionViewCell>(
        grid().cellForItemAtIndexPath(ui::IndexPath{0, position}));
  }
};

// Keeps the first `count` entries of the inventory.
std::function<void(TBKCompoundTag&)> keepEntries(size_t count) {
  return [count](TBKCompoundTag& player) {
    auto old = player.listForKey("Inventory");
    auto kept = std::make_shared<TBKListTag>("Inventory", TBKTagType::Compound);
    for (size_t i = 0; i < count; ++i) kept->setObjectAtIndexedSubscript(old->objectAtIndexedSubscript(i), i);
    player.setValueForKey(kept);
  };
}

TEST(InventoryGrid, ColumnsOf52PointsSitCentredBelowTheBar) {
  struct Case {
    double width;
    double sideInset;
    int columns;
    double lastColumnX;
  };
  for (const Case& c : {Case{568, 24, 10, 492}, Case{480, 6, 9, 422}, Case{320, 4, 6, 264}}) {
    SCOPED_TRACE(c.width);
    InventoryOnScreen s(c.width);
    ASSERT_EQ(s.grid().numberOfItemsInSection(0), 36) << "45 entries less the 9 hotbar links";
    EXPECT_EQ(s.grid().frameForItemAtIndexPath(ui::IndexPath{0, 0}), ui::Rect(c.sideInset, 8, 52, 52));
    EXPECT_EQ(s.grid().frameForItemAtIndexPath(ui::IndexPath{0, c.columns - 1}), ui::Rect(c.lastColumnX, 8, 52, 52));
    EXPECT_EQ(s.grid().frameForItemAtIndexPath(ui::IndexPath{0, c.columns}), ui::Rect(c.sideInset, 60, 52, 52));
    EXPECT_EQ(s.grid().contentInset().top, 64) << "the grid extends under the bar and starts below it";
    EXPECT_EQ(s.cell(0)->convertToWindow(ui::Point{0, 0}).y, 64 + 8);
    EXPECT_EQ(s.grid().backgroundColor(), ui::Color::white(38.0 / 255.0));
    ASSERT_NE(s.inventory->plusButton(), nullptr);
    EXPECT_EQ(s.inventory->rightBarButtonItem(), s.inventory->plusButton());
  }
}

TEST(InventoryGrid, ACellShowsTheSlotTheItemAndItsCountOverIt) {
  InventoryOnScreen s(568, [](TBKCompoundTag& player) {
    auto list = player.listForKey("Inventory");
    list->compoundAtIndex(10)->setValueForKey(TBKNumberTag::byteTag("Count", -1));
  });
  auto first = s.cell(0);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(first->itemView(), nullptr);
  EXPECT_EQ(first->itemView()->frame(), ui::Rect(12, 14, 28, 24));
  EXPECT_EQ(first->itemView()->itemID(), 276);
  EXPECT_EQ(first->itemView()->damage(), 112);
  EXPECT_EQ(first->countView()->frame(), ui::Rect(8, 8, 44, 9));
  EXPECT_EQ(first->countView()->font().size, 8);
  EXPECT_EQ(first->countView()->font().face, "Minecraft");
  EXPECT_EQ(first->countView()->text(), "1");
  EXPECT_EQ(s.cell(1)->countView()->text(), "255");
  EXPECT_EQ(s.cell(35)->countView()->text(), "0") << "an empty slot's count shows too";
  // Back to front: slot frame, item, count.
  auto& views = first->subviews();
  auto at = [&](const std::shared_ptr<ui::View>& v) {
    return std::find(views.begin(), views.end(), v) - views.begin();
  };
  EXPECT_LT(at(first->backgroundView()), at(first->itemView()));
  EXPECT_EQ(at(first->itemView()) + 1, at(first->countView()));
  ASSERT_NE(std::dynamic_pointer_cast<ui::ImageView>(first->backgroundView())->image(), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<ui::ImageView>(first->backgroundView())->image()->size(), (ui::Size{52, 52}));
}

TEST(InventoryAdd, ThePlusButtonAppendsTheNextSlotAndWritesOnce) {
  InventoryOnScreen s;
  size_t writes = s.playerWrites();
  s.inventory->plusButton()->trigger();
  s.driver.runUntilIdle();
  EXPECT_EQ(s.playerWrites(), writes + 1);
  auto entries = s.playerOnDisk().list("Inventory");
  ASSERT_EQ(entries.size(), 46u);
  EXPECT_EQ(entries[45].number("Slot"), 45);
  EXPECT_EQ(entries[45].number("id"), 1);
  EXPECT_EQ(entries[45].number("Count"), 1);
  EXPECT_EQ(entries[45].number("Damage"), 0);
  EXPECT_EQ(entries[44].number("id"), 0) << "the entry before is untouched";
  EXPECT_EQ(s.grid().numberOfItemsInSection(0), 37);
  s.grid().scrollRectToVisible(s.grid().frameForItemAtIndexPath(ui::IndexPath{0, 36}), false);
  ASSERT_NE(s.cell(36), nullptr);
  EXPECT_EQ(s.cell(36)->itemView()->itemID(), 1);
}

TEST(InventoryAdd, ShortListsShowNothingUntilPastTheHotbarLinks) {
  struct Case {
    size_t entries;
    long shownBefore;
  };
  for (const Case& c : {Case{0, 0}, Case{5, 0}, Case{9, 0}, Case{10, 1}}) {
    SCOPED_TRACE(c.entries);
    InventoryOnScreen s(568, keepEntries(c.entries));
    EXPECT_EQ(s.grid().numberOfItemsInSection(0), c.shownBefore);
    if (c.entries == 10) {
      EXPECT_EQ(s.cell(0)->itemView()->itemID(), 276) << "entry 9 is the only cell";
    }
    s.inventory->add();
    auto entries = s.playerOnDisk().list("Inventory");
    ASSERT_EQ(entries.size(), c.entries + 1);
    EXPECT_EQ(entries.back().number("Slot"), long(c.entries));
    EXPECT_EQ(s.grid().numberOfItemsInSection(0), c.entries + 1 > 9 ? long(c.entries + 1 - 9) : 0);
  }
}

TEST(InventoryAdd, AFullListOf256IsLeftAloneAndAMissingListIsMade) {
  InventoryOnScreen full(568, [](TBKCompoundTag& player) {
    auto list = player.listForKey("Inventory");
    while (list->count() < 256) {
      auto entry = std::make_shared<TBKCompoundTag>("");
      entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(list->count())));
      entry->setValueForKey(TBKNumberTag::shortTag("id", 3));
      list->setObjectAtIndexedSubscript(entry, list->count());
    }
  });
  size_t writes = full.playerWrites();
  full.inventory->add();
  EXPECT_EQ(full.playerWrites(), writes) << "nothing written";
  auto entries = full.playerOnDisk().list("Inventory");
  ASSERT_EQ(entries.size(), 256u);
  EXPECT_EQ(entries[0].number("Slot"), 0) << "slot 256 would have wrapped onto entry 0";
  EXPECT_EQ(entries[0].number("id"), -1);

  InventoryOnScreen none(568, [](TBKCompoundTag& player) { player.removeObjectForKey("Inventory"); });
  EXPECT_EQ(none.grid().numberOfItemsInSection(0), 0);
  none.inventory->add();
  auto made = none.playerOnDisk().list("Inventory");
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0].number("Slot"), 0);
  EXPECT_EQ(made[0].number("id"), 1);
  EXPECT_TRUE(none.playerOnDisk().has("Armor")) << "the rest of the tree is kept";
}

TEST(InventoryNavigation, ATappedSlotOpensItsEntryAndTheGridShowsTheEditOnReturn) {
  InventoryOnScreen s;
  s.driver.tap(*s.cell(2));
  s.driver.runUntilIdle();
  auto editor = std::dynamic_pointer_cast<ItemViewController>(s.navigation->topViewController());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->idField->text(), "257") << "grid position 2 is entry 11";
  s.typeInto(*editor->countField, "7");
  s.typeInto(*editor->idField, "264");
  s.navigation->popViewControllerAnimated(true);
  s.driver.runUntilIdle();
  EXPECT_EQ(s.cell(2)->countView()->text(), "7");
  EXPECT_EQ(s.cell(2)->itemView()->itemID(), 264);
}

TEST(InventoryNavigation, PositionsPastAByteOpenTheirOwnEntry) {
  InventoryOnScreen s(568, [](TBKCompoundTag& player) {
    auto list = player.listForKey("Inventory");
    while (list->count() < 300) {
      auto entry = std::make_shared<TBKCompoundTag>("");
      entry->setValueForKey(TBKNumberTag::shortTag("id", static_cast<int16_t>(1000 + list->count())));
      list->setObjectAtIndexedSubscript(entry, list->count());
    }
  });
  s.inventory->didSelectItemAtIndexPath(s.grid(), ui::IndexPath{0, 260});
  s.driver.runUntilIdle();
  auto editor = std::dynamic_pointer_cast<ItemViewController>(s.navigation->topViewController());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->idField->text(), "1269") << "position 260 is entry 269, not entry 13";
}

}  // namespace
