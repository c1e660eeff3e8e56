#include "equipment/ItemEditorLayout.h"

#include <gtest/gtest.h>

void PrintTo(const ItemEditorLayout::Row& row, std::ostream* out) {
  for (const ui::Rect& r : {row.caption, row.value, row.button})
    *out << "(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ") ";
}

namespace {

using ui::Rect;

// "ID:" and "minecraft:diamond_sword" in the game font at 16 points; the kit's field insets.
constexpr ItemEditorLayout::IdText diamondSword{.captionWidth = 24, .nameWidth = 248, .insets = {0, 8, 0, 8}};

ItemEditorLayout::Row row(Rect caption, Rect value, Rect button = Rect()) { return {caption, value, button}; }

TEST(ItemEditorLayout, RowsStandBesideThePictureAndANamedItemsAreCloserWithOneMore) {
  struct Case {
    const char* what;
    double width, height;
    bool named;
    Rect picture;
    ItemEditorLayout::Row name, count, damage, customName, slot, id;
    double idFontSize;
  } cases[] = {
      {"an early item, whose id is a number", 568, 320, false, Rect(20, 84, 216, 216),
       row(Rect(256, 84, 292, 36), Rect(348, 84, 200, 36)),
       row(Rect(256, 130, 292, 36), Rect(348, 130, 120, 36), Rect(478, 130, 75, 36)),
       row(Rect(256, 176, 292, 36), Rect(348, 176, 120, 36), Rect(478, 176, 75, 36)), row(Rect(), Rect()),
       row(Rect(256, 222, 292, 36), Rect(348, 222, 200, 36)),
       row(Rect(256, 268, 292, 36), Rect(348, 268, 120, 36), Rect(478, 268, 75, 36)), 16},
      {"a named item, its name made smaller", 568, 320, true, Rect(20, 84, 160, 160),
       row(Rect(200, 84, 348, 32), Rect(318, 84, 230, 32)),
       row(Rect(200, 122, 348, 32), Rect(318, 122, 150, 32), Rect(478, 122, 75, 32)),
       row(Rect(200, 160, 348, 32), Rect(318, 160, 150, 32), Rect(478, 160, 75, 32)),
       row(Rect(200, 198, 348, 32), Rect(338, 198, 215, 32)),
       row(Rect(200, 236, 348, 32), Rect(318, 236, 60, 32), Rect(418, 236, 135, 32)),
       row(Rect(200, 274, 348, 32), Rect(234, 274, 234, 32), Rect(478, 274, 75, 32)), 14},
      {"a named item on a larger screen, where its name fits", 667, 375, true, Rect(20, 84, 215, 215),
       row(Rect(255, 84, 392, 32), Rect(417, 84, 230, 32)),
       row(Rect(255, 122, 392, 32), Rect(417, 122, 150, 32), Rect(577, 122, 75, 32)),
       row(Rect(255, 160, 392, 32), Rect(417, 160, 150, 32), Rect(577, 160, 75, 32)),
       row(Rect(255, 198, 392, 32), Rect(437, 198, 215, 32)),
       row(Rect(255, 236, 392, 32), Rect(417, 236, 60, 32), Rect(517, 236, 135, 32)),
       row(Rect(255, 274, 392, 32), Rect(289, 274, 278, 32), Rect(577, 274, 75, 32)), 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto frames = ItemEditorLayout::frames({c.width, c.height}, c.named, diamondSword);
    EXPECT_EQ(frames.picture, c.picture);
    EXPECT_EQ(frames.name, c.name);
    EXPECT_EQ(frames.count, c.count);
    EXPECT_EQ(frames.damage, c.damage);
    EXPECT_EQ(frames.customName, c.customName);
    EXPECT_EQ(frames.slot, c.slot);
    EXPECT_EQ(frames.id, c.id);
    EXPECT_EQ(frames.idFontSize, c.idFontSize);
  }
}

// The named item's id field at 568 x 320 has 218 points for its text.
TEST(ItemEditorLayout, TheIdFieldTakesTheLargestWholeSizeAtWhichTheNameFitsDownToEightPoints) {
  for (auto [nameWidth, size] : {std::pair{218.0, 16.0}, {219, 15}, {900, 8}}) {
    ItemEditorLayout::IdText id{.captionWidth = 24, .nameWidth = nameWidth, .insets = diamondSword.insets};
    EXPECT_EQ(ItemEditorLayout::frames({568, 320}, true, id).idFontSize, size) << nameWidth;
  }
}

}  // namespace
