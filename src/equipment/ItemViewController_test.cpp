#include "equipment/ItemViewController.h"

#include <gtest/gtest.h>

#include "equipment/EquipmentStage_test.h"
#include "equipment/ItemSelectorTableViewController.h"
#include "ui/SearchBar.h"

namespace {

// The editor on grid position `position` (entry position + 9).
struct EditorOnScreen : EquipmentStage {
  std::shared_ptr<ItemViewController> editor;

  explicit EditorOnScreen(size_t position = 0, double width = 568,
                          const std::function<void(TBKCompoundTag&)>& setUp = nullptr)
      : EquipmentStage(width) {
    if (setUp) changePlayer(setUp);
    editor = std::make_shared<ItemViewController>(std::make_shared<EquipmentRecord>(db, player),
                                                  player->listForKey("Inventory"), position);
    push(editor);
  }
  TestTag entryOnDisk(size_t position = 0) const { return playerOnDisk().list("Inventory").at(position + 9); }
};

TEST(ItemEditorLayout, TheRowsAndThePictureSitWhereTheScreenHeightPutsThem) {
  EditorOnScreen s(0, 480);
  auto& e = *s.editor;
  EXPECT_EQ(e.itemView->frame(), ui::Rect(20, 84, 216, 216));
  const double rows[] = {84, 130, 176, 222, 268};
  const std::shared_ptr<BVLLabel> captions[] = {e.nameLabel, e.countLabel, e.damageLabel, e.slotLabel, e.idLabel};
  const char* const texts[] = {"Name:", "Count:", "Damage:", "Slot:", "ID:"};
  for (int r = 0; r < 5; ++r) {
    EXPECT_EQ(captions[r]->frame(), ui::Rect(256, rows[r], 204, 36));
    EXPECT_EQ(captions[r]->text(), texts[r]);
  }
  EXPECT_EQ(e.nameLabel2->frame(), ui::Rect(260, 84, 200, 36));
  EXPECT_EQ(e.slotLabel2->frame(), ui::Rect(260, 222, 200, 36));
  EXPECT_EQ(e.countField->frame(), ui::Rect(260, 130, 120, 36));
  EXPECT_EQ(e.damageField->frame(), ui::Rect(260, 176, 120, 36));
  EXPECT_EQ(e.idField->frame(), ui::Rect(260, 268, 120, 36));
  EXPECT_EQ(e.countMaxButton->frame(), ui::Rect(390, 130, 75, 36));
  EXPECT_EQ(e.damageNoneButton->frame(), ui::Rect(390, 176, 75, 36));
  EXPECT_EQ(e.idSelectButton->frame(), ui::Rect(390, 268, 75, 36));
  EXPECT_EQ(e.countMaxButton->title(), "Max");
  EXPECT_EQ(e.damageNoneButton->title(), "None");
  EXPECT_EQ(e.idSelectButton->title(), "Select");
  // The first entry after the hotbar: a diamond sword (276) worn to 112.
  EXPECT_EQ(e.nameLabel2->text(), "Diamond Sword");
  EXPECT_EQ(e.countField->text(), "1");
  EXPECT_EQ(e.damageField->text(), "112");
  EXPECT_EQ(e.slotLabel2->text(), "0");
  EXPECT_EQ(e.idField->text(), "276");
  EXPECT_EQ(e.view()->subviews().front(), e.background());
  EXPECT_TRUE(e.background()->isAnimating());
}

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
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " <- '" + c.typed + "'");
    auto& e = *s.editor;
    auto field = std::string(c.field) == "count"    ? e.countField
                 : std::string(c.field) == "damage" ? e.damageField
                                                    : e.idField;
    if (field->text() == c.typed) s.typeInto(*field, "5");  // the field reports changes only
    size_t writes = s.playerWrites();
    auto pictureBefore = e.itemView;
    s.typeInto(*field, c.typed);
    EXPECT_EQ(s.playerWrites(), writes + 1) << "one write of the whole tree";
    EXPECT_EQ(s.entryOnDisk().number(c.tag), c.stored);
    EXPECT_EQ(field->text(), c.shown);
    EXPECT_NE(e.itemView, pictureBefore) << "redrawn with a new picture";
    EXPECT_EQ(e.itemView->itemID(), std::stoi(e.idField->text()));
    EXPECT_EQ(e.itemView->damage(), std::stoi(e.damageField->text()));
  }
  auto entry = s.entryOnDisk();
  EXPECT_EQ(entry.number("Slot"), 9) << "the slot is never written";
}

TEST(ItemEditorButtons, MaxAndNoneStoreAndShowTheirValues) {
  EditorOnScreen s;
  size_t writes = s.playerWrites();
  s.driver.tap(*s.editor->countMaxButton);
  s.driver.runUntilIdle();
  EXPECT_EQ(s.entryOnDisk().number("Count"), -1) << "255 in a byte";
  EXPECT_EQ(s.editor->countField->text(), "255");
  s.driver.tap(*s.editor->damageNoneButton);
  s.driver.runUntilIdle();
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
    EditorOnScreen s(0, 568, [&](TBKCompoundTag& player) {
      player.listForKey("Inventory")
          ->compoundAtIndex(9)
          ->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(c.slot)));
    });
    EXPECT_EQ(s.editor->slotLabel2->text(), c.shown) << "Slot " << c.slot;
  }
}

TEST(ItemEditorName, AnItemTheCatalogueDoesNotKnowHasNoName) {
  EditorOnScreen s(0, 568, [](TBKCompoundTag& player) {
    player.listForKey("Inventory")->compoundAtIndex(9)->setValueForKey(TBKNumberTag::shortTag("id", 4000));
  });
  EXPECT_EQ(s.editor->nameLabel2->text(), "");
  EXPECT_EQ(s.editor->idField->text(), "4000");
}

TEST(ItemEditorPicker, ChoosingASearchResultStoresThatResultsIdAndDamageInOneWrite) {
  EditorOnScreen s;
  s.driver.tap(*s.editor->idSelectButton);
  s.driver.runUntilIdle();
  auto picker = std::dynamic_pointer_cast<ItemSelectorTableViewController>(s.navigation->topViewController());
  ASSERT_NE(picker, nullptr);
  s.driver.tap(*picker->searchBar()->textField());
  s.driver.type(*s.window, "oRANge", false);
  s.driver.runUntilIdle();
  auto results = picker->searchDisplayController()->searchResultsTableView();
  ASSERT_EQ(picker->searchData().size(), 5u) << "the five orange things of the catalogue";
  // Sorted: "Orange Carpet", "Orange Dye", "Orange stained clay", ...
  auto dye = results->cellForRowAtIndexPath(ui::IndexPath{0, 1});
  ASSERT_NE(dye, nullptr);
  EXPECT_EQ(dye->textLabel()->text(), "Orange Dye");
  size_t writes = s.playerWrites();
  s.driver.tap(*dye);
  s.driver.runUntilIdle();
  EXPECT_EQ(s.navigation->topViewController(), s.editor) << "the picker closed itself";
  EXPECT_EQ(s.playerWrites(), writes + 1);
  auto entry = s.entryOnDisk();
  EXPECT_EQ(entry.number("id"), 351);
  EXPECT_EQ(entry.number("Damage"), 14);
  EXPECT_EQ(s.editor->idField->text(), "351");
  EXPECT_EQ(s.editor->damageField->text(), "14");
  EXPECT_EQ(s.editor->nameLabel2->text(), "Orange Dye");
}

}  // namespace
