#include "equipment/InventoryViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/ItemViewController.h"
#include "records/ItemIdentity.h"

namespace {

// 300 entries, past the demo's 45 ones of item 1000 + their place: a cell
// shows its entry and opens it, even past the positions a byte can number.
TEST(InventoryGrid, CellsOf52PointsShowTheEntriesAfterTheHotbarLinksAndOpenTheirOwn) {
  WorldOnScreen s;
  s.changePlayer([](TBKCompoundTag& player) {
    auto entries = player.listForKey("Inventory");
    entries->compoundAtIndex(10)->setValueForKey(TBKNumberTag::byteTag("Count", -1));
    for (size_t i = entries->count(); i < 300; ++i) {
      entries->setObjectAtIndexedSubscript(ItemIdentity::numbered(uint16_t(1000 + i), 0).makeEntry(-1, 1), i);
    }
  });
  auto inventory = std::make_shared<InventoryViewController>(std::make_shared<EquipmentRecord>(s.db, s.player));
  s.push(inventory);
  auto cell = [&](long position) { return s.gridCell(*inventory, position); };
  ASSERT_EQ(inventory->collectionView()->numberOfItemsInSection(0), 291) << "less the 9 hotbar links";
  EXPECT_EQ(cell(0)->convertToWindow(ui::Point{0, 0}).y, 64 + 8) << "the grid starts below the bar";
  EXPECT_EQ(cell(0)->itemView()->itemID(), 276);
  EXPECT_EQ(cell(0)->itemView()->damage(), 112);
  EXPECT_EQ(cell(0)->countView()->text(), "1");
  EXPECT_EQ(cell(1)->countView()->text(), "255");
  EXPECT_EQ(cell(35)->countView()->text(), "0") << "an empty slot's count shows too";

  inventory->didSelectItemAtIndexPath(*inventory->collectionView(), ui::IndexPath{0, 260});
  s.driver.runUntilIdle();
  auto editor = s.top<ItemViewController>();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->idField->text(), "1269") << "position 260 is entry 269, not entry 13";
}

}  // namespace
