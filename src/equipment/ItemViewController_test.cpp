#include "equipment/ItemViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"

namespace {

// The editor on grid position 0: the entry after the 9 hotbar links.
struct EditorOnScreen : WorldOnScreen {
  std::shared_ptr<ItemViewController> editor;

  explicit EditorOnScreen(const std::function<void(TBKCompoundTag&)>& setUp = nullptr) {
    if (setUp) changePlayer(setUp);
    editor = std::make_shared<ItemViewController>(std::make_shared<EquipmentRecord>(db, player),
                                                  player->listForKey("Inventory"), 0);
    push(editor);
  }
  TestTag entryOnDisk() const { return playerOnDisk().list("Inventory").at(9); }
};

TEST(ItemEditorFields, TypedNumbersStoreTheirLowBitsAndShowWhatWasStored) {
  struct Case {
    const char* field;
    const char* typed;
    const char* tag;
    int64_t stored;  // as the tag's own signed width holds it
    const char* shown;
  };
  const Case cases[] = {
      {"count", "300", "Count", 44, "44"},
      {"count", "-1", "Count", -1, "255"},
      {"count", "", "Count", 0, "0"},
      {"count", "99999999999999999999", "Count", -1, "255"},  // saturates at the top: all ones
      {"count", "-99999999999999999999", "Count", 0, "0"},    // and at the bottom: all zeros below
      {"damage", "70000", "Damage", 4464, "4464"},
      {"damage", "-1", "Damage", -1, "65535"},
      {"id", "-1", "id", -1, "65535"},
      {"id", "265", "id", 265, "265"},
  };
  EditorOnScreen s;
  // The first entry after the hotbar: a diamond sword (276) worn to 112.
  EXPECT_EQ(s.editor->nameLabel2->text(), "Diamond Sword");
  EXPECT_EQ(s.editor->damageField->text(), "112");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " <- '" + c.typed + "'");
    auto& e = *s.editor;
    auto field = std::string(c.field) == "count"    ? e.countField
                 : std::string(c.field) == "damage" ? e.damageField
                                                    : e.idField;
    if (field->text() == c.typed) s.typeInto(*field, "5");  // the field reports changes only
    size_t writes = s.playerWrites();
    s.typeInto(*field, c.typed);
    EXPECT_EQ(s.playerWrites(), writes + 1) << "one write of the whole tree";
    EXPECT_EQ(s.entryOnDisk().number(c.tag), c.stored);
    EXPECT_EQ(field->text(), c.shown);
  }
  auto entry = s.entryOnDisk();
  EXPECT_EQ(entry.number("Slot"), 9) << "the slot is never written";
}

TEST(ItemEditorButtons, MaxAndNoneStoreAndShowTheirValues) {
  EditorOnScreen s;
  size_t writes = s.playerWrites();
  s.tap(*s.editor->countMaxButton);
  EXPECT_EQ(s.entryOnDisk().number("Count"), -1) << "255 in a byte";
  EXPECT_EQ(s.editor->countField->text(), "255");
  s.tap(*s.editor->damageNoneButton);
  EXPECT_EQ(s.entryOnDisk().number("Damage"), 0);
  EXPECT_EQ(s.editor->damageField->text(), "0");
  EXPECT_EQ(s.playerWrites(), writes + 2);
}

TEST(ItemEditorSlot, TheSlotShowsAsAGridPositionAndBelowZeroForHotbarNumbers) {
  struct Case {
    int slot;
    const char* shown;
  };
  for (const Case& c : {Case{12, "3"}, Case{9, "0"}, Case{3, "-6"}, Case{0, "-9"}, Case{255, "246"}}) {
    EditorOnScreen s([&](TBKCompoundTag& player) {
      player.listForKey("Inventory")
          ->compoundAtIndex(9)
          ->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(c.slot)));
    });
    EXPECT_EQ(s.editor->slotLabel2->text(), c.shown) << "Slot " << c.slot;
  }
}

TEST(ItemEditorName, AnItemTheCatalogueDoesNotKnowHasNoName) {
  EditorOnScreen s([](TBKCompoundTag& player) {
    player.listForKey("Inventory")->compoundAtIndex(9)->setValueForKey(TBKNumberTag::shortTag("id", 4000));
  });
  EXPECT_EQ(s.editor->nameLabel2->text(), "");
  EXPECT_EQ(s.editor->idField->text(), "4000");
}

}  // namespace
