#include "equipment/ItemViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"

namespace {

// The editor on grid position 0: the entry after the 9 hotbar links.
struct EditorOnScreen : WorldOnScreen {
  std::shared_ptr<ItemViewController> editor;

  explicit EditorOnScreen(const std::function<void(TBKCompoundTag&)>& setUp = nullptr,
                          std::string folder = "Lakeside Survival")
      : WorldOnScreen(std::move(folder)) {
    if (setUp) changePlayer(setUp);
    editor = std::make_shared<ItemViewController>(std::make_shared<EquipmentRecord>(db, player),
                                                  player->listForKey("Inventory"), 0);
    push(editor);
  }
  TestTag entryOnDisk() const { return playerOnDisk().list("Inventory").at(9); }
};

// Typed counts and damage are today's world's (ModernEditor); here, the
// buttons and a numbered id, each stored as its tag's width holds it.
TEST(ItemEditorFields, ButtonsAndATypedIdStoreTheirLowBitsAndShowWhatWasStored) {
  EditorOnScreen s;
  // The first entry after the hotbar: a diamond sword (276) worn to 112.
  EXPECT_EQ(s.editor->nameLabel2->text(), "Diamond Sword");
  EXPECT_EQ(s.editor->damageField->text(), "112");
  size_t writes = s.playerWrites();
  s.tap(*s.editor->countMaxButton);
  EXPECT_EQ(s.entryOnDisk().number("Count"), -1) << "255 in a byte";
  EXPECT_EQ(s.editor->countField->text(), "255");
  s.tap(*s.editor->damageNoneButton);
  EXPECT_EQ(s.entryOnDisk().number("Damage"), 0);
  EXPECT_EQ(s.editor->damageField->text(), "0");
  s.typeInto(s.editor->idField, "-1");
  EXPECT_EQ(s.entryOnDisk().number("id"), -1) << "65535 in a short";
  EXPECT_EQ(s.editor->idField->text(), "65535");
  EXPECT_EQ(s.playerWrites(), writes + 3) << "one write of the whole tree each";
  EXPECT_EQ(s.entryOnDisk().number("Slot"), 9) << "the slot is never written";
}

// The slot shows as a grid position, below zero for hotbar numbers; an item
// the catalogue does not know shows its number and no name.
TEST(ItemEditorSlot, TheSlotShowsAsAGridPositionAndAnUnknownItemItsNumberAlone) {
  struct Case {
    int slot;
    const char* shown;
  };
  for (const Case& c : {Case{12, "3"}, Case{9, "0"}, Case{3, "-6"}, Case{0, "-9"}, Case{255, "246"}}) {
    EditorOnScreen s([&](TBKCompoundTag& player) {
      auto entry = player.listForKey("Inventory")->compoundAtIndex(9);
      entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(c.slot)));
      entry->setValueForKey(TBKNumberTag::shortTag("id", 4000));
    });
    EXPECT_EQ(s.editor->slotLabel2->text(), c.shown) << "Slot " << c.slot;
    EXPECT_EQ(s.editor->nameLabel2->text(), "");
    EXPECT_EQ(s.editor->idField->text(), "4000");
  }
}

// "ID:" and "minecraft:diamond_sword" are measured as drawn, the field's insets taken.
TEST(ItemEditorFields, TodaysDiamondSwordsNameIsFittedToItsFieldAtFourteenPoints) {
  EXPECT_EQ(EditorOnScreen(nullptr, "bW9kZXJuAA==").editor->idField->font().size, 14);
}

}  // namespace
