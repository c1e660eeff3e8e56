// The equipment screens on a world of today's game, whose items are named:
// the demo's "Modern Survival", reached through the world list and its level
// screen, and read back from disk with the tests' own reader. Each edit is
// checked against the record as it was with only the edited bytes changed.
#include <optional>
#include <stdexcept>
#include <string_view>

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "equipment/EnchantmentsViewController.h"
#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/InventoryViewController.h"
#include "equipment/ItemSelectorTableViewController.h"
#include "equipment/ItemViewController.h"
#include "ui/SearchBar.h"

namespace {

using worldreader::littleEndian;
using worldreader::withPayload;

const char* const modernFolder = "bW9kZXJuAA==";  // "Modern Survival"
constexpr size_t unknownSlot = 13;                // "myaddon:ruby_staff", with a "tag"

// The payload of a string tag: its length, then its bytes.
std::string text(const std::string& value) { return littleEndian(int64_t(value.size()), 2) + value; }

// `record` with the tag at `path` (its type, name and payload) taken out.
std::string withoutTag(const std::string& record, std::string_view path) {
  const TestTag root = worldreader::parseNBT(record);  // alive while `tag` points into it
  const TestTag* tag = root.find(path);
  if (!tag) throw std::runtime_error("no " + std::string(path));
  size_t start = tag->payloadOffset - 3 - tag->name.size();
  return record.substr(0, start) + record.substr(tag->payloadOffset + tag->payloadSize);
}

// `record` with the whole tag `child` last in the compound at `path`.
std::string withTagAppended(const std::string& record, std::string_view path, const std::string& child) {
  const TestTag root = worldreader::parseNBT(record);
  const TestTag* compound = root.find(path);
  if (!compound) throw std::runtime_error("no " + std::string(path));
  size_t end = compound->payloadOffset + compound->payloadSize - 1;  // its End byte
  return record.substr(0, end) + child + record.substr(end);
}

struct ModernWorld : WorldOnScreen {
  ModernWorld() : WorldOnScreen(modernFolder) {}

  // The inventory screen, from the menu on; false when it did not open.
  bool openInventory() {
    if (!openWorld(modernFolder)) return false;
    tapEdit("Inventory");
    inventory = top<InventoryViewController>();
    return inventory != nullptr;
  }
  std::shared_ptr<InventoryCollectionViewCell> cell(long position) { return gridCell(*inventory, position); }
  std::shared_ptr<ItemViewController> tapCell(long position) {
    auto slot = cell(position);
    if (!slot) return nullptr;
    tap(*slot);
    return top<ItemViewController>();
  }

  std::shared_ptr<InventoryViewController> inventory;
};

// Slots the demo's gear takes (see the demo generator): a worn mace, a
// shulker box of 27, a pickaxe without "tag", an apple named "Lunch".
constexpr long maceSlot = 31, boxSlot = 32, pickaxeSlot = 33, appleSlot = 34;

TEST(ModernInventory, EverySlotShowsInSlotOrderWithItsMarks) {
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  auto onDisk = s.playerOnDisk().list("Inventory");
  ASSERT_EQ(onDisk.size(), 36u);
  ASSERT_EQ(s.inventory->collectionView()->numberOfItemsInSection(0), 36) << "no entry is hidden";
  for (long r = 0; r < 36; ++r) {
    SCOPED_TRACE(r);
    ASSERT_EQ(onDisk[size_t(r)].number("Slot"), r);
    EXPECT_EQ(s.cell(r)->itemView()->identifier(), onDisk[size_t(r)].string("Name"));
  }
  EXPECT_EQ(s.cell(4)->countView()->text(), "48");

  // The glint marks an enchanted item, the wear bar a worn one.
  struct Case {
    long slot;
    bool glint;
    double bar;  // the coloured part's width; -1: no bar
  };
  const Case cases[] = {
      {0, true, 24},             // diamond sword, 1449 of 1561 left
      {2, false, 26},            // iron axe, 247 of 250 left, with an empty "ench"
      {pickaxeSlot, false, -1},  // not worn
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    auto cell = s.cell(c.slot);
    EXPECT_EQ(cell->glintView()->isHidden(), !c.glint);
    EXPECT_EQ(cell->wearView()->isHidden(), c.bar < 0);
    if (c.bar >= 0) {
      EXPECT_EQ(cell->wearLevelView()->frame().width(), c.bar);
    }
  }
}

// One world, edited in turn through the editor of each slot: every edit
// changes the bytes of its own value and nothing else of the record.
TEST(ModernEditor, EachEditOfANamedItemWritesItsValueAlone) {
  struct Case {
    long slot;
    const char* field;  // "count", "damage", "id", "name" (the custom name), "repair" or "pick" (tapped)
    const char* typed;
    const char* path;                    // in the slot's entry
    std::optional<std::string> payload;  // none: the tag is gone
    const char* shown;
  };
  const Case cases[] = {
      {4, "count", "-1", "Count", littleEndian(-1, 1), "255"},  // 48 arrows: a count is a byte's low bits
      {4, "count", "", "Count", littleEndian(0, 1), "0"},
      {4, "count", "99999999999999999999", "Count", littleEndian(-1, 1), "255"},  // saturates: all ones
      {4, "count", "-99999999999999999999", "Count", littleEndian(0, 1), "0"},
      {4, "count", "300", "Count", littleEndian(44, 1), "44"},  // never an "id" beside the name
      {4, "damage", "3", "Damage", littleEndian(3, 2), "3"},
      {4, "damage", "70000", "Damage", littleEndian(4464, 2), "4464"},
      {4, "damage", "-1", "Damage", littleEndian(-1, 2), "65535"},
      {14, "id", " minecraft:charcoal ", "Name", text("minecraft:charcoal"), "minecraft:charcoal"},
      {2, "pick", "diamond sw", "Name", text("minecraft:diamond_sword"), "minecraft:diamond_sword"},  // with a "tag"
      {24, "pick", "lime be", "Damage", littleEndian(5, 2), "minecraft:bed"},   // the entry's own damage: its colour
      {maceSlot, "repair", "", "tag/Damage", littleEndian(0, 4), "500 / 500"},  // 425 of 500 left
      {maceSlot, "damage", "100", "tag/Damage", littleEndian(400, 4), "100 / 500"},
      {maceSlot, "damage", "9999", "tag/Damage", littleEndian(0, 4), "500 / 500"},
      {maceSlot, "damage", "-5", "tag/Damage", littleEndian(500, 4), "0 / 500"},
      {appleSlot, "name", "Picnic", "tag/display/Name", text("Picnic"), "Picnic"},
      {appleSlot, "name", "", "tag/display", std::nullopt, ""},
      {long(unknownSlot), "count", "2", "Count", littleEndian(2, 1), "2"},  // an add-on's item
      {long(unknownSlot), "name", "", "tag/display", std::nullopt, ""},     // its mana is kept
  };
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  std::string expected = s.record();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.slot) + " " + c.field + " '" + c.typed + "'");
    auto editor = s.tapCell(c.slot);
    ASSERT_NE(editor, nullptr);
    const std::string field = c.field;
    auto shown = field == "count"                   ? editor->countField
                 : field == "id" || field == "pick" ? editor->idField
                 : field == "name"                  ? editor->customNameField
                                                    : editor->damageField;
    if (field == "repair") {
      s.tap(*editor->damageNoneButton);
    } else if (field == "pick") {
      s.tap(*editor->idSelectButton);
      auto picker = s.top<ItemSelectorTableViewController>();
      ASSERT_NE(picker, nullptr);
      EXPECT_EQ(picker->allItems().size(), BVLItemIDSource::sharedSource()->allNamedItems().size()) << "today's";
      s.tap(*picker->searchBar()->textField());
      s.driver.type(*s.window, c.typed, false);
      s.tap(*picker->searchDisplayController()->searchResultsTableView()->cellForRowAtIndexPath({0, 0}));
    } else {
      s.typeInto(shown, c.typed);
    }
    ASSERT_EQ(s.top<ItemViewController>(), editor);
    const std::string path = "Inventory/" + std::to_string(c.slot) + "/" + c.path;
    expected = c.payload ? withPayload(expected, path, *c.payload) : withoutTag(expected, path);
    EXPECT_EQ(s.record(), expected);
    EXPECT_EQ(shown->text(), c.shown);
    s.back();
  }
  EXPECT_EQ(s.cell(4)->countView()->text(), "44") << "the grid shows the edits on return";
}

TEST(ModernGear, EnchantmentsAreAddedChangedAndRemovedInTheirListAlone) {
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  const std::string before = s.record();
  auto editor = s.tapCell(pickaxeSlot);
  ASSERT_NE(editor, nullptr);
  s.tap(*editor->slotButton);
  auto view = s.top<EnchantmentsViewController>();
  ASSERT_NE(view, nullptr);

  // Picks `title` from the plus button's list; the list as it was shown.
  auto add = [&](const std::string& title) {
    view->plusButton()->trigger();
    s.driver.runUntilIdle();
    auto picker = s.top<EnchantmentPickerViewController>();
    if (!picker) throw std::runtime_error("no list");
    auto choices = picker->choices();
    auto found = std::find_if(choices.begin(), choices.end(), [&](auto& c) { return c.text == title; });
    if (found == choices.end()) throw std::runtime_error("no " + title);
    s.tap(*picker->tableView()->cellForRowAtIndexPath(ui::IndexPath{0, found - choices.begin()}));
    return choices;
  };
  add("Unbreaking");

  // A "tag" holding "ench": one compound of two shorts, "id" 17, "lvl" 3.
  const std::string unbreaking = "\x0a" + text("tag") + "\x09" + text("ench") + "\x0a" + littleEndian(1, 4) + "\x02" +
                                 text("id") + littleEndian(17, 2) + "\x02" + text("lvl") + littleEndian(3, 2) +
                                 std::string(2, '\0');  // the ends of the entry and of "tag"
  const std::string added = withTagAppended(before, "Inventory/33", unbreaking);
  EXPECT_EQ(s.record(), added);
  ASSERT_EQ(view->labels.size(), 1u);
  EXPECT_EQ(view->labels[0]->text(), "Unbreaking III");

  struct Case {
    const char* typed;
    int stored;
    const char* shown;
  };
  for (const Case& c : {Case{"7", 7, "Unbreaking VII (above III)"}, Case{"0", 1, "Unbreaking I"}}) {
    SCOPED_TRACE(c.typed);
    s.typeInto(view->levelFields[0], c.typed);
    EXPECT_EQ(s.record(), withPayload(added, "Inventory/33/tag/ench/0/lvl", littleEndian(c.stored, 2)));
    EXPECT_EQ(view->labels[0]->text(), c.shown);
  }

  add("Silk Touch");
  auto offered = add("Efficiency");
  auto fortune = std::find_if(offered.begin(), offered.end(), [](auto& c) { return c.enchantment->id == 18; });
  ASSERT_NE(fortune, offered.end());
  EXPECT_EQ(fortune->text, "Fortune (excluded by Silk Touch)");

  for (size_t left : {2u, 1u, 0u}) {
    s.tap(*view->removeButtons[0]);
    EXPECT_EQ(view->labels.size(), left);
  }
  EXPECT_EQ(s.record(), withTagAppended(before, "Inventory/33", "\x0a" + text("tag") + std::string(1, '\0')))
      << "the last one removed takes the list with it";
}

// As the game keeps a box: only its filled slots, here 26, 4 and 0, each
// entry with its "Slot". The grid shows all 27 by their numbers; an edit
// changes that entry alone, and the plus button's item shows in its slot.
TEST(ModernGear, AShulkerBoxOpensAsAGridOfItsSlotsAndAnEditChangesThatEntryAlone) {
  ModernWorld s;
  s.changePlayer([](TBKCompoundTag& player) {
    auto tag = player.listForKey("Inventory")->compoundAtIndex(size_t(boxSlot))->compoundForKey("tag");
    auto full = tag->listForKey("Items");
    tag->setValueForKey(std::make_shared<TBKListTag>(
        "Items", TBKTagType::Compound,
        std::vector<std::shared_ptr<TBKTag>>{full->objectAtIndexedSubscript(26), full->objectAtIndexedSubscript(4),
                                             full->objectAtIndexedSubscript(0)}));
  });
  ASSERT_TRUE(s.openInventory());
  const std::string before = s.record();
  auto editor = s.tapCell(boxSlot);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->slotButton->title(), "Open");
  s.tap(*editor->slotButton);
  auto box = s.top<InventoryViewController>();
  ASSERT_NE(box, nullptr);
  ASSERT_NE(box, s.inventory);
  EXPECT_EQ(box->title(), "Purple Shulker Box");
  ASSERT_EQ(box->collectionView()->numberOfItemsInSection(0), 27);
  auto cell = [&](long position) { return s.gridCell(*box, position); };
  EXPECT_EQ(cell(0)->itemView()->identifier(), "minecraft:diamond_helmet");
  EXPECT_EQ(cell(1)->itemView()->identifier(), "") << "a free slot";
  EXPECT_EQ(cell(26)->itemView()->identifier(), "minecraft:cobblestone");

  s.tap(*cell(4));
  auto inner = s.top<ItemViewController>();
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->idField->text(), "minecraft:netherite_leggings");
  size_t writes = s.playerWrites();
  s.typeInto(inner->countField, "2");
  EXPECT_EQ(s.playerWrites(), writes + 1) << "the whole record, once";
  EXPECT_EQ(s.record(), withPayload(before, "Inventory/32/tag/Items/1/Count", littleEndian(2, 1))) << "slot 4's";
  s.back();
  box->plusButton()->trigger();
  s.driver.runUntilIdle();
  EXPECT_EQ(worldreader::snbt(s.playerOnDisk().list("Inventory/32/tag/Items").back()),
            R"({Count:1b,Damage:0s,Name:"minecraft:stone",Slot:1b,WasPickedUp:0b})");
  EXPECT_EQ(cell(1)->itemView()->identifier(), "minecraft:stone") << "in the lowest free slot";
}

}  // namespace
