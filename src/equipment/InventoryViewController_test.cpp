#include "equipment/InventoryViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/ItemViewController.h"

namespace {

struct InventoryOnScreen : WorldOnScreen {
  std::shared_ptr<InventoryViewController> inventory;

  explicit InventoryOnScreen(const std::function<void(TBKCompoundTag&)>& setUp = nullptr) {
    if (setUp) changePlayer(setUp);
    inventory = std::make_shared<InventoryViewController>(std::make_shared<EquipmentRecord>(db, player));
    push(inventory);
  }

  ui::CollectionView& grid() { return *inventory->collectionView(); }
  std::shared_ptr<InventoryCollectionViewCell> cell(long position) { return gridCell(*inventory, position); }
};

// Keeps the first `count` entries of the inventory (of 45), and adds
// entries numbered 1000 and on, without a slot, past it; -1 takes the list away.
std::function<void(TBKCompoundTag&)> keepEntries(long count) {
  return [count](TBKCompoundTag& player) {
    auto old = player.listForKey("Inventory");
    player.removeObjectForKey("Inventory");
    if (count < 0) return;
    auto kept = std::make_shared<TBKListTag>("Inventory", TBKTagType::Compound);
    for (size_t i = 0; i < size_t(count); ++i) {
      auto entry = std::make_shared<TBKCompoundTag>("");
      entry->setValueForKey(TBKNumberTag::shortTag("id", static_cast<int16_t>(1000 + i)));
      kept->setObjectAtIndexedSubscript(i < old->count() ? old->objectAtIndexedSubscript(i) : entry, i);
    }
    player.setValueForKey(kept);
  };
}

TEST(InventoryGrid, CellsOf52PointsShowTheEntriesAfterTheHotbarLinksWithTheirCounts) {
  InventoryOnScreen s([](TBKCompoundTag& player) {
    player.listForKey("Inventory")->compoundAtIndex(10)->setValueForKey(TBKNumberTag::byteTag("Count", -1));
  });
  ASSERT_EQ(s.grid().numberOfItemsInSection(0), 36) << "45 entries less the 9 hotbar links";
  EXPECT_EQ(s.cell(0)->convertToWindow(ui::Point{0, 0}).y, 64 + 8) << "the grid starts below the bar";
  auto first = s.cell(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->itemView()->itemID(), 276);
  EXPECT_EQ(first->itemView()->damage(), 112);
  EXPECT_EQ(first->countView()->text(), "1");
  EXPECT_EQ(s.cell(1)->countView()->text(), "255");
  EXPECT_EQ(s.cell(35)->countView()->text(), "0") << "an empty slot's count shows too";
}

// The plus button appends a stone in the next slot, in one write, and
// makes a missing list; the grid shows nothing until the list is past the
// hotbar links. A full list of 256 slot numbers is left alone.
TEST(InventoryAdd, ThePlusButtonAppendsTheNextSlotUntilTheSlotNumbersRunOut) {
  struct Case {
    long entries;
    long shownBefore, shownAfter;
  };
  for (const Case& c : {Case{-1, 0, 0}, Case{0, 0, 0}, Case{5, 0, 0}, Case{9, 0, 1}, Case{10, 1, 2}, Case{45, 36, 37},
                        Case{256, 247, 247}}) {
    SCOPED_TRACE(c.entries);
    InventoryOnScreen s(keepEntries(c.entries));
    EXPECT_EQ(s.grid().numberOfItemsInSection(0), c.shownBefore);
    size_t writes = s.playerWrites();
    s.inventory->plusButton()->trigger();
    s.driver.runUntilIdle();
    const bool full = c.entries == 256;
    const size_t before = size_t(std::max(c.entries, 0L));
    EXPECT_EQ(s.playerWrites(), writes + (full ? 0 : 1));
    auto entries = s.playerOnDisk().list("Inventory");
    ASSERT_EQ(entries.size(), full ? before : before + 1);
    EXPECT_EQ(s.grid().numberOfItemsInSection(0), c.shownAfter);
    if (full) continue;
    EXPECT_EQ(entries.back().number("Slot"), long(before));
    EXPECT_EQ(entries.back().number("id"), 1);
    EXPECT_EQ(entries.back().number("Count"), 1);
  }
}

TEST(InventoryNavigation, PositionsPastAByteOpenTheirOwnEntry) {
  InventoryOnScreen s(keepEntries(300));
  s.inventory->didSelectItemAtIndexPath(s.grid(), ui::IndexPath{0, 260});
  s.driver.runUntilIdle();
  auto editor = s.top<ItemViewController>();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->idField->text(), "1269") << "position 260 is entry 269, not entry 13";
}

}  // namespace
