// The equipment screens on a world of today's game, whose items are named:
// the demo's "Modern Survival", reached through the world list and its level
// screen, and read back from disk with the tests' own reader.
#include <functional>
#include <set>
#include <stdexcept>
#include <string_view>

#include <gtest/gtest.h>

#include "equipment/ArmorViewController.h"
#include "equipment/EnchantmentsViewController.h"
#include "equipment/EquipmentThroughTheLevelScreen_test.h"
#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/InventoryViewController.h"
#include "equipment/ItemIdentity.h"
#include "equipment/ItemSelectorTableViewController.h"
#include "equipment/ItemViewController.h"
#include "external/Bevel.h"
#include "ui/AlertView.h"
#include "ui/SearchBar.h"

namespace {

const char* const modernFolder = "bW9kZXJuAA==";  // "Modern Survival"
constexpr size_t unknownSlot = 13;                // "myaddon:ruby_staff", with a "tag"

// Every child of `before` but those named in `changed` is in `after`, equal
// and in the same order, and `after` has no child that `before` lacked
// beyond `changed`.
void expectKeptExcept(const TestTag& before, const TestTag& after, const std::set<std::string>& changed) {
  std::vector<const TestTag*> kept, now;
  for (auto& child : before.children) {
    if (!changed.count(child.name)) kept.push_back(&child);
  }
  for (auto& child : after.children) {
    if (!changed.count(child.name)) now.push_back(&child);
  }
  ASSERT_EQ(kept.size(), now.size());
  for (size_t i = 0; i < kept.size(); ++i) {
    EXPECT_TRUE(*kept[i] == *now[i]) << kept[i]->name << " changed";
  }
}

// The bytes of each entry of the root's list `name`, where they lie in `record`.
std::vector<std::string_view> entryBytes(std::string_view record, std::string_view name) {
  std::vector<std::string_view> entries;
  TestTag root = worldreader::parseNBT(record);  // outlives the loop, unlike a temporary in its head
  for (auto& entry : root.list(name)) {
    entries.push_back(record.substr(entry.payloadOffset, entry.payloadSize));
  }
  return entries;
}

struct ModernWorld : EquipmentStage {
  ModernWorld() : EquipmentStage(568, 320, modernFolder) {}

  // The level screen's "Edit..." button of the row titled `title`, from the
  // world list on.
  template <class Screen>
  std::shared_ptr<Screen> open(const std::string& title) {
    chooseWorld(*this, modernFolder);
    tapEdit(*this, title);
    return top<Screen>(*this);
  }
  // The inventory screen, from the world list on; false when it did not open.
  bool openInventory() {
    inventory = open<InventoryViewController>("Inventory");
    return inventory != nullptr;
  }
  std::shared_ptr<InventoryCollectionViewCell> cell(long position) {
    return std::dynamic_pointer_cast<InventoryCollectionViewCell>(
        inventory->collectionView()->cellForItemAtIndexPath(ui::IndexPath{0, position}));
  }
  std::shared_ptr<ItemViewController> tapCell(long position) {
    auto slot = cell(position);
    if (!slot) return nullptr;
    driver.tap(*slot);
    driver.runUntilIdle();
    return top<ItemViewController>(*this);
  }
  // Opens the picker from the editor, searches and taps the result titled
  // `title`; the picker lists today's items.
  void pick(ItemViewController& editor, const std::string& search, const std::string& title) {
    driver.tap(*editor.idSelectButton);
    driver.runUntilIdle();
    auto picker = top<ItemSelectorTableViewController>(*this);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->allItems().size(), BVLItemIDSource::sharedSource()->allNamedItems().size());
    driver.tap(*picker->searchBar()->textField());
    driver.type(*window, search, false);
    driver.runUntilIdle();
    const auto& results = picker->searchData();
    auto found = std::find_if(results.begin(), results.end(), [&](const std::string& item) {
      return BVLItemIDSource::sharedSource()->itemDefinitionWithStringRepresentation(item)->name == title;
    });
    ASSERT_NE(found, results.end()) << title;
    auto row = picker->searchDisplayController()->searchResultsTableView()->cellForRowAtIndexPath(
        ui::IndexPath{0, found - results.begin()});
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->textLabel()->text(), title);
    size_t writes = playerWrites();
    driver.tap(*row);
    driver.runUntilIdle();
    EXPECT_EQ(top<ItemViewController>(*this).get(), &editor) << "the picker closed";
    EXPECT_EQ(playerWrites(), writes + 1);
  }
  TestTag entryOnDisk(size_t slot) const { return playerOnDisk().list("Inventory").at(slot); }
  std::string record() const { return worldreader::readDatabaseValue(world, "~local_player").value(); }
  std::shared_ptr<ui::AlertView> shownAlert() const {
    for (auto& view : window->subviews()) {
      if (auto alert = std::dynamic_pointer_cast<ui::AlertView>(view)) return alert;
    }
    return nullptr;
  }

  std::shared_ptr<InventoryViewController> inventory;
};

std::shared_ptr<ui::Image> namedPicture(const std::string& identifier, ui::Size size) {
  return bvl_resize(BVLItemIDSource::sharedSource()->basicImageForItemWithName(identifier), size);
}

TEST(ModernInventory, EverySlotShowsInSlotOrderWithTheHotbarInTheFirstRow) {
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  auto onDisk = s.playerOnDisk().list("Inventory");
  ASSERT_EQ(onDisk.size(), 36u);
  auto& grid = *s.inventory->collectionView();
  ASSERT_EQ(grid.numberOfItemsInSection(0), 36) << "no entry is hidden";
  for (long r = 0; r < 36; ++r) {
    SCOPED_TRACE(r);
    const TestTag& entry = onDisk[size_t(r)];
    ASSERT_EQ(entry.number("Slot"), r);
    auto shown = s.cell(r);
    ASSERT_NE(shown, nullptr);
    const std::string& name = entry.string("Name");
    EXPECT_EQ(shown->itemView()->identifier(), name);
    EXPECT_EQ(shown->itemView()->itemID(), 0);
    if (name.empty()) {
      EXPECT_EQ(shown->itemView()->image(), nullptr) << "an empty slot shows nothing";
      EXPECT_EQ(shown->countView()->text(), "");
    } else {
      EXPECT_EQ(shown->countView()->text(), std::to_string(entry.number("Count")));
      EXPECT_NE(shown->itemView()->image(), nullptr);
    }
  }
  // The hotbar: slots 0 to 8 side by side in the first row, from the left.
  EXPECT_EQ(grid.frameForItemAtIndexPath(ui::IndexPath{0, 0}), ui::Rect(24, 8, 52, 52));
  EXPECT_EQ(grid.frameForItemAtIndexPath(ui::IndexPath{0, 8}), ui::Rect(440, 8, 52, 52));
  auto sword = s.cell(0)->itemView();
  EXPECT_EQ(sword->identifier(), "minecraft:diamond_sword");
  EXPECT_TRUE(samePicture(sword->image(),
                          BVLItemIDSource::sharedSource()->basicImageForItemWithName("minecraft:diamond_sword")));
  EXPECT_EQ(sword->nameLabel(), nullptr);
  auto staff = s.cell(long(unknownSlot))->itemView();
  ASSERT_NE(staff->nameLabel(), nullptr) << "an unknown name is written over the generic picture";
  EXPECT_NE(std::string("myaddon:ruby_staff").find(staff->nameLabel()->text()), std::string::npos);
  EXPECT_FALSE(staff->nameLabel()->text().empty());
  EXPECT_TRUE(samePicture(staff->image(), BVLItemIDSource::sharedSource()->genericItemImage()));
}

TEST(ModernEditor, ShowsTheNamedItemAndChangesItsCountAlone) {
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  auto before = s.entryOnDisk(4);
  ASSERT_EQ(before.string("Name"), "minecraft:arrow");
  auto editor = s.tapCell(4);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->nameLabel2->text(), "Arrow");
  EXPECT_EQ(editor->idField->text(), "minecraft:arrow") << "the ID field holds the name";
  EXPECT_EQ(editor->countField->text(), "48");
  EXPECT_EQ(editor->damageField->text(), "0");
  EXPECT_EQ(editor->slotLabel2->text(), "4") << "no grid offset: the slot is the game's own";
  EXPECT_EQ(editor->itemView->identifier(), "minecraft:arrow");

  size_t writes = s.playerWrites();
  s.typeInto(*editor->countField, "300");
  EXPECT_EQ(s.playerWrites(), writes + 1);
  EXPECT_EQ(editor->countField->text(), "44");
  auto after = s.entryOnDisk(4);
  EXPECT_EQ(after.number("Count"), 44);
  EXPECT_FALSE(after.has("id")) << "never a number beside the name";
  expectKeptExcept(before, after, {"Count"});

  s.typeInto(*editor->damageField, "3");
  EXPECT_EQ(s.entryOnDisk(4).number("Damage"), 3);
  expectKeptExcept(before, s.entryOnDisk(4), {"Count", "Damage"});

  s.navigation->popViewControllerAnimated(true);
  s.driver.runUntilIdle();
  EXPECT_EQ(s.cell(4)->countView()->text(), "44") << "the grid shows the edit on return";
}

TEST(ModernEditor, ThePickerListsTodaysItemsAndPutsTheNameInTheSlot) {
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  // Slot 2: an enchanted iron axe, with a "tag".
  auto before = s.entryOnDisk(2);
  ASSERT_TRUE(before.has("tag"));
  auto editor = s.tapCell(2);
  ASSERT_NE(editor, nullptr);
  s.pick(*editor, "diamond sw", "Diamond Sword");

  auto after = s.entryOnDisk(2);
  EXPECT_EQ(after.string("Name"), "minecraft:diamond_sword");
  EXPECT_EQ(after.number("Damage"), 0);
  EXPECT_FALSE(after.has("id"));
  expectKeptExcept(before, after, {"Name", "Damage"});
  EXPECT_EQ(editor->nameLabel2->text(), "Diamond Sword");
  EXPECT_EQ(editor->idField->text(), "minecraft:diamond_sword");
  // The whole name shows, between the caption and the button.
  auto& field = *editor->idField;
  ui::EdgeInsets insets = field.textInsets();
  EXPECT_LE(field.font().measure(field.text()).width, field.bounds().width() - insets.left - insets.right);
  EXPECT_GT(field.frame().x(), editor->idLabel->frame().x());
  EXPECT_LT(field.frame().maxX(), editor->idSelectButton->frame().x());

  // The damage is the chosen entry's own: a bed's colour.
  s.pick(*editor, "lime b", "Lime Bed");
  EXPECT_EQ(s.entryOnDisk(2).string("Name"), "minecraft:bed");
  EXPECT_EQ(s.entryOnDisk(2).number("Damage"), 5);
  EXPECT_EQ(editor->itemView->identifier(), "minecraft:bed");
  EXPECT_EQ(editor->itemView->damage(), 5);
}

TEST(ModernEditor, ATypedNameChangesTheItemAndDropsTheOldBlock) {
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  // Slot 9: cobblestone, with the "Block" compound of a cobblestone block.
  auto before = s.entryOnDisk(9);
  ASSERT_TRUE(before.has("Block"));
  auto editor = s.tapCell(9);
  ASSERT_NE(editor, nullptr);

  s.typeInto(*editor->idField, " minecraft:cobblestone ");
  EXPECT_TRUE(s.entryOnDisk(9) == before) << "the same item: its block stays";

  s.typeInto(*editor->idField, "minecraft:mossy_cobblestone");
  auto after = s.entryOnDisk(9);
  EXPECT_EQ(after.string("Name"), "minecraft:mossy_cobblestone");
  EXPECT_FALSE(after.has("Block")) << "the old item's block is not the new one's";
  EXPECT_FALSE(after.has("id"));
  expectKeptExcept(before, after, {"Name", "Block"});
  EXPECT_EQ(editor->itemView->identifier(), "minecraft:mossy_cobblestone");
}

TEST(ModernInventory, ThePlusButtonFillsTheFirstEmptySlotsThenSaysTheInventoryIsFull) {
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  auto before = s.playerOnDisk().list("Inventory");
  const size_t empties[] = {17, 23, 35};
  for (size_t slot : empties) {
    SCOPED_TRACE(slot);
    size_t writes = s.playerWrites();
    s.inventory->plusButton()->trigger();
    s.driver.runUntilIdle();
    EXPECT_EQ(s.playerWrites(), writes + 1);
    auto entries = s.playerOnDisk().list("Inventory");
    ASSERT_EQ(entries.size(), 36u) << "nothing appended";
    EXPECT_EQ(entries[slot].string("Name"), "minecraft:stone");
    EXPECT_EQ(entries[slot].number("Count"), 1);
    EXPECT_EQ(entries[slot].number("Damage"), 0);
    EXPECT_FALSE(entries[slot].has("id"));
    expectKeptExcept(before[slot], entries[slot], {"Name", "Count"});
    EXPECT_EQ(s.cell(long(slot))->itemView()->identifier(), "minecraft:stone");
    EXPECT_EQ(s.cell(long(slot))->countView()->text(), "1");
    EXPECT_EQ(s.shownAlert(), nullptr);
  }
  auto full = s.record();
  size_t writes = s.playerWrites();
  s.inventory->plusButton()->trigger();
  s.driver.runUntilIdle();
  EXPECT_EQ(s.playerWrites(), writes) << "nothing written";
  EXPECT_EQ(s.record(), full);
  auto alert = s.shownAlert();
  ASSERT_NE(alert, nullptr) << "a full inventory is explained";
  EXPECT_EQ(alert->title(), "Inventory Full");
  alert->dismissWithClickedButtonIndex(0, false);
}

TEST(ModernArmor, PiecesAreWrittenByNameAndTheFigureShowsThem) {
  ModernWorld s;
  auto armor = s.open<ArmorViewController>("Armor");
  ASSERT_NE(armor, nullptr);
  std::vector<std::shared_ptr<ui::ImageView>> worn{armor->helmetView, armor->chestplateView, armor->leggingsView,
                                                   armor->bootsView};
  ui::Size size = worn[0]->bounds().size;
  EXPECT_TRUE(samePicture(worn[0]->image(), namedPicture("minecraft:turtle_helmet", size)));
  EXPECT_TRUE(samePicture(worn[1]->image(), namedPicture("minecraft:netherite_chestplate", size)));
  EXPECT_TRUE(samePicture(worn[2]->image(), namedPicture("minecraft:chainmail_leggings", size)));
  EXPECT_EQ(worn[3]->image(), nullptr) << "an empty slot shows its empty picture";

  auto before = s.playerOnDisk().list("Armor");
  struct Case {
    long material, piece;
    const char* name;
    int64_t count;
  };
  for (const Case& c :
       {Case{3, 1, "minecraft:iron_chestplate", 1}, Case{5, 3, "minecraft:golden_boots", 1}, Case{0, 0, "", 0}}) {
    SCOPED_TRACE(c.name);
    ui::IndexPath path{c.material, c.piece};
    armor->tableView->scrollToRowAtIndexPath(path, false);
    s.driver.runUntilIdle();
    auto row = armor->tableView->cellForRowAtIndexPath(path);
    ASSERT_NE(row, nullptr);
    size_t writes = s.playerWrites();
    s.driver.tap(*row);
    s.driver.runUntilIdle();
    EXPECT_EQ(s.playerWrites(), writes + 1);
    auto entries = s.playerOnDisk().list("Armor");
    ASSERT_EQ(entries.size(), 4u);
    const TestTag& entry = entries[size_t(c.piece)];
    EXPECT_EQ(entry.string("Name"), c.name);
    EXPECT_EQ(entry.number("Count"), c.count);
    EXPECT_EQ(entry.number("Damage"), 0);
    EXPECT_FALSE(entry.has("id"));
    expectKeptExcept(before[size_t(c.piece)], entry, {"Name", "Count", "Damage"});
    auto expected = *c.name ? namedPicture(c.name, size) : nullptr;
    EXPECT_TRUE(samePicture(worn[size_t(c.piece)]->image(), expected));
  }
  EXPECT_EQ(s.playerOnDisk().string("Armor/2/Name"), "minecraft:chainmail_leggings") << "untouched";
}

TEST(ModernInventory, AnAddOnsItemIsShownByNameAndKeptByteForByte) {
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  const std::string original = s.record();
  const std::string staff(entryBytes(original, "Inventory").at(unknownSlot));
  ASSERT_NE(staff.find("myaddon:ruby_staff"), std::string::npos);
  ASSERT_NE(staff.find("tag"), std::string::npos);

  // Another slot edited: its count, then its item by a typed name.
  auto editor = s.tapCell(14);
  ASSERT_NE(editor, nullptr);
  s.typeInto(*editor->countField, "31");
  s.typeInto(*editor->idField, "minecraft:charcoal");
  EXPECT_EQ(s.entryOnDisk(14).number("Count"), 31);
  auto edited = s.record();
  EXPECT_NE(edited, original);
  EXPECT_EQ(entryBytes(edited, "Inventory").at(unknownSlot), staff);

  // The add-on's item itself: shown by name; its count changes alone.
  s.navigation->popViewControllerAnimated(true);
  s.driver.runUntilIdle();
  auto before = s.entryOnDisk(unknownSlot);
  editor = s.tapCell(long(unknownSlot));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->nameLabel2->text(), "myaddon:ruby_staff");
  EXPECT_EQ(editor->idField->text(), "myaddon:ruby_staff");
  ASSERT_NE(editor->itemView->nameLabel(), nullptr);
  EXPECT_EQ(editor->itemView->nameLabel()->text(), "myaddon:ruby_staff") << "the large view has room for it all";
  s.typeInto(*editor->countField, "2");
  auto after = s.entryOnDisk(unknownSlot);
  EXPECT_EQ(after.number("Count"), 2);
  expectKeptExcept(before, after, {"Count"});
}

// Which writes an entry takes: an identity goes only into an entry of its own
// kind, and a new name drops the old item's block but keeps every other child.
TEST(ItemIdentityWrite, KeepsTheKindsApartAndTheChildrenItDoesNotKnow) {
  auto numberedEntry = [] { return ItemIdentity::numbered(5, 2).makeEntry(12, 3); };
  auto namedEntry = [] {
    auto entry = ItemIdentity::named("minecraft:dirt", 0).makeEntry(4, 1);
    entry->setValueForKey(std::make_shared<TBKCompoundTag>("Block"));
    entry->setValueForKey(std::make_shared<TBKCompoundTag>("tag"));
    return entry;
  };
  auto bareEntry = [] {
    auto entry = std::make_shared<TBKCompoundTag>("");
    entry->setValueForKey(TBKNumberTag::byteTag("Count", 1));
    return entry;
  };
  struct Case {
    const char* what;
    std::function<std::shared_ptr<TBKCompoundTag>()> entry;
    ItemIdentity identity;
    bool written;
    std::vector<std::string> children;  // after, in order
  };
  const Case cases[] = {
      {"number into number", numberedEntry, ItemIdentity::numbered(7, 1), true, {"Slot", "id", "Count", "Damage"}},
      {"number into name",
       namedEntry,
       ItemIdentity::numbered(7, 1),
       false,
       {"Count", "Damage", "Name", "Slot", "WasPickedUp", "Block", "tag"}},
      {"name into number",
       numberedEntry,
       ItemIdentity::named("minecraft:stone", 0),
       false,
       {"Slot", "id", "Count", "Damage"}},
      {"same name",
       namedEntry,
       ItemIdentity::named("minecraft:dirt", 2),
       true,
       {"Count", "Damage", "Name", "Slot", "WasPickedUp", "Block", "tag"}},
      {"new name",
       namedEntry,
       ItemIdentity::named("minecraft:stone", 0),
       true,
       {"Count", "Damage", "Name", "Slot", "WasPickedUp", "tag"}},
      {"name into bare", bareEntry, ItemIdentity::named("minecraft:stone", 0), true, {"Count", "Name", "Damage"}},
      {"number into bare", bareEntry, ItemIdentity::numbered(7, 1), true, {"Count", "id", "Damage"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto entry = c.entry();
    EXPECT_EQ(c.identity.writeTo(*entry), c.written);
    std::vector<std::string> children;
    for (auto& child : entry->value()) children.push_back(child->name());
    EXPECT_EQ(children, c.children);
    if (c.written) {
      EXPECT_EQ(ItemIdentity::of(*entry), c.identity);
    }
  }
}

// Slots the demo's gear takes (see the demo generator): a worn, enchanted
// netherite sword, a worn mace, a shulker box of 27, a pickaxe without "tag",
// an apple named "Lunch".
constexpr long swordSlot = 30, maceSlot = 31, boxSlot = 32, pickaxeSlot = 33, appleSlot = 34;

// `record` with the int "Damage" in the "tag" of inventory entry `slot` set
// to `value`: what a repair, and nothing else, makes of it.
std::string withSpentUses(const std::string& record, size_t slot, int32_t value) {
  return worldreader::withPayload(record, "Inventory/" + std::to_string(slot) + "/tag/Damage",
                                  worldreader::littleEndian(value, 4));
}

TEST(ModernGear, DurabilityShowsWhatIsLeftAndRepairWritesTheSpentUsesAlone) {
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  auto sword = s.tapCell(swordSlot);
  ASSERT_NE(sword, nullptr);
  EXPECT_EQ(sword->damageLabel->text(), "Durability:");
  EXPECT_EQ(sword->damageField->text(), "1841 / 2031");
  EXPECT_EQ(sword->damageNoneButton->title(), "Repair");
  EXPECT_EQ(sword->slotButton->title(), "Enchant (3)");
  s.navigation->popViewControllerAnimated(false);
  s.driver.runUntilIdle();

  auto mace = s.tapCell(maceSlot);
  ASSERT_NE(mace, nullptr);
  EXPECT_EQ(mace->damageField->text(), "425 / 500");
  const std::string before = s.record();
  size_t writes = s.playerWrites();
  s.driver.tap(*mace->damageNoneButton);
  s.driver.runUntilIdle();
  EXPECT_EQ(s.playerWrites(), writes + 1);
  EXPECT_EQ(s.record(), withSpentUses(before, maceSlot, 0)) << "every other byte of the record is kept";
  EXPECT_EQ(mace->damageField->text(), "500 / 500");

  struct Case {
    const char* typed;
    int spent;
    const char* shown;
  };
  for (const Case& c : {Case{"100", 400, "100 / 500"}, Case{"9999", 0, "500 / 500"}, Case{"-5", 500, "0 / 500"}}) {
    SCOPED_TRACE(c.typed);
    s.typeInto(*mace->damageField, c.typed);
    EXPECT_EQ(s.record(), withSpentUses(before, maceSlot, c.spent));
    EXPECT_EQ(mace->damageField->text(), c.shown);
  }
}

TEST(ModernGear, EnchantmentsAreAddedChangedAndRemovedInTheirListAlone) {
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  const TestTag before = s.entryOnDisk(pickaxeSlot);
  ASSERT_FALSE(before.has("tag"));
  auto editor = s.tapCell(pickaxeSlot);
  ASSERT_NE(editor, nullptr);
  s.driver.tap(*editor->slotButton);
  s.driver.runUntilIdle();
  auto view = top<EnchantmentsViewController>(s);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->labels.empty());

  // Picks `title` from the plus button's list; the list as it was shown.
  auto add = [&](const std::string& title) {
    view->plusButton()->trigger();
    s.driver.runUntilIdle();
    auto picker = top<EnchantmentPickerViewController>(s);
    if (!picker) throw std::runtime_error("no list");
    auto choices = picker->choices();
    auto found = std::find_if(choices.begin(), choices.end(), [&](auto& c) { return c.text == title; });
    if (found == choices.end()) throw std::runtime_error("no " + title);
    s.driver.tap(*picker->tableView()->cellForRowAtIndexPath(ui::IndexPath{0, found - choices.begin()}));
    s.driver.runUntilIdle();
    return choices;
  };
  auto offered = add("Unbreaking");
  EXPECT_EQ(top<EnchantmentsViewController>(s), view) << "the list closed";
  // A pickaxe's own come first: efficiency, silk touch, unbreaking, fortune,
  // mending, curse of vanishing; then the rest.
  ASSERT_GE(offered.size(), 7u);
  for (size_t i = 0; i < 6; ++i)
    EXPECT_TRUE(offered[i].enchantment->appliesTo("mining,mining_loot,durability,vanishing"));
  EXPECT_FALSE(offered[6].enchantment->appliesTo("mining,mining_loot,durability,vanishing"));

  auto after = s.entryOnDisk(pickaxeSlot);
  expectKeptExcept(before, after, {"tag"});
  ASSERT_EQ(after.find("tag")->children.size(), 1u);
  auto ench = after.list("tag/ench");
  ASSERT_EQ(ench.size(), 1u);
  EXPECT_EQ(ench[0].find("id")->type, TestTag::Short);
  EXPECT_EQ(ench[0].number("id"), 17);
  EXPECT_EQ(ench[0].find("lvl")->type, TestTag::Short);
  EXPECT_EQ(ench[0].number("lvl"), 3);
  ASSERT_EQ(view->labels.size(), 1u);
  EXPECT_EQ(view->labels[0]->text(), "Unbreaking III");

  struct Case {
    const char* typed;
    int stored;
    const char* shown;
  };
  for (const Case& c : {Case{"7", 7, "Unbreaking VII (above III)"}, Case{"999", 255, "Unbreaking CCLV (above III)"},
                        Case{"0", 1, "Unbreaking I"}}) {
    SCOPED_TRACE(c.typed);
    s.typeInto(*view->levelFields[0], c.typed);
    EXPECT_EQ(s.entryOnDisk(pickaxeSlot).number("tag/ench/0/lvl"), c.stored);
    EXPECT_EQ(view->labels[0]->text(), c.shown);
  }

  add("Silk Touch");
  offered = add("Efficiency");
  auto fortune = std::find_if(offered.begin(), offered.end(), [](auto& c) { return c.enchantment->id == 18; });
  ASSERT_NE(fortune, offered.end());
  EXPECT_EQ(fortune->text, "Fortune (excluded by Silk Touch)");
  ASSERT_EQ(s.entryOnDisk(pickaxeSlot).list("tag/ench").size(), 3u);

  for (size_t left : {2u, 1u, 0u}) {
    s.driver.tap(*view->removeButtons[0]);
    s.driver.runUntilIdle();
    EXPECT_EQ(view->labels.size(), left);
  }
  after = s.entryOnDisk(pickaxeSlot);
  EXPECT_FALSE(after.has("tag/ench")) << "the last one removed takes the list with it";
  EXPECT_TRUE(after.has("tag"));
}

TEST(ModernGear, ACustomNameIsSetAndClearedAndAnAddOnsTagKeepsTheRest) {
  struct Case {
    long slot;
    const char* was;
    const char* typed;
    std::set<std::string> displayKeeps;  // empty: "display" is gone
  };
  const Case cases[] = {
      {appleSlot, "Lunch", "Picnic", {"Name"}},
      {appleSlot, "Lunch", "", {}},
      {long(unknownSlot), "Ruby Staff", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ModernWorld s;
    ASSERT_TRUE(s.openInventory());
    const TestTag before = s.entryOnDisk(size_t(c.slot));
    auto editor = s.tapCell(c.slot);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->customNameField->text(), c.was);
    s.typeInto(*editor->customNameField, c.typed);
    auto after = s.entryOnDisk(size_t(c.slot));
    expectKeptExcept(before, after, {"tag"});
    expectKeptExcept(*before.find("tag"), *after.find("tag"), {"display"});
    if (c.displayKeeps.empty()) {
      EXPECT_FALSE(after.has("tag/display"));
    } else {
      EXPECT_EQ(after.string("tag/display/Name"), c.typed);
    }
    EXPECT_EQ(editor->customNameField->text(), c.typed);
  }
}

TEST(ModernGear, AShulkerBoxOpensAsAGridOfItsOwnAndAnEditChangesThatEntryAlone) {
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  const std::string before = s.record();
  auto editor = s.tapCell(boxSlot);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->slotButton->title(), "Open");
  s.driver.tap(*editor->slotButton);
  s.driver.runUntilIdle();
  auto box = top<InventoryViewController>(s);
  ASSERT_NE(box, nullptr);
  ASSERT_NE(box, s.inventory);
  EXPECT_EQ(box->title(), "Purple Shulker Box");
  EXPECT_EQ(box->collectionView()->numberOfItemsInSection(0), 27);
  auto cell = [&](long position) {
    return std::dynamic_pointer_cast<InventoryCollectionViewCell>(
        box->collectionView()->cellForItemAtIndexPath(ui::IndexPath{0, position}));
  };
  EXPECT_EQ(cell(4)->itemView()->identifier(), "minecraft:netherite_leggings");
  EXPECT_FALSE(cell(0)->glintView()->isHidden()) << "the enchanted helmet";
  EXPECT_FALSE(cell(4)->wearView()->isHidden()) << "the worn leggings";

  s.driver.tap(*cell(4));
  s.driver.runUntilIdle();
  auto inner = top<ItemViewController>(s);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->damageField->text(), "255 / 555");
  size_t writes = s.playerWrites();
  s.typeInto(*inner->countField, "2");
  EXPECT_EQ(s.playerWrites(), writes + 1) << "the whole record, once";

  const std::string after = s.record();
  auto entriesBefore = entryBytes(before, "Inventory"), entriesAfter = entryBytes(after, "Inventory");
  ASSERT_EQ(entriesAfter.size(), entriesBefore.size());
  for (size_t i = 0; i < entriesBefore.size(); ++i) {
    if (i != size_t(boxSlot)) {
      EXPECT_EQ(entriesAfter[i], entriesBefore[i]) << "entry " << i << " byte for byte";
    }
  }
  auto itemsBefore = worldreader::parseNBT(before).list("Inventory/32/tag/Items");
  auto itemsAfter = s.playerOnDisk().list("Inventory/32/tag/Items");
  ASSERT_EQ(itemsAfter.size(), 27u);
  for (size_t i = 0; i < 27; ++i) {
    if (i == 4) {
      expectKeptExcept(itemsBefore[i], itemsAfter[i], {"Count"});
      EXPECT_EQ(itemsAfter[i].number("Count"), 2);
    } else {
      EXPECT_TRUE(itemsBefore[i] == itemsAfter[i]) << "box entry " << i;
    }
  }
}

TEST(ModernGear, TheGridMarksEnchantedItemsAndDrawsAWearBarUnderWornOnes) {
  struct Case {
    long slot;
    bool glint;
    double bar;  // the coloured part's width; -1: no bar
  };
  const Case cases[] = {
      {0, true, 24},             // diamond sword, 1449 of 1561 left
      {2, false, 26},            // iron axe, 247 of 250 left, with an empty "ench"
      {swordSlot, true, 24},     // 1841 of 2031
      {maceSlot, false, 22},     // 425 of 500
      {pickaxeSlot, false, -1},  // not worn
      {4, false, -1},            // arrows do not wear
  };
  ModernWorld s;
  ASSERT_TRUE(s.openInventory());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    auto cell = s.cell(c.slot);
    EXPECT_EQ(cell->glintView()->isHidden(), !c.glint);
    EXPECT_EQ(cell->wearView()->isHidden(), c.bar < 0);
    if (c.bar >= 0) {
      EXPECT_EQ(cell->wearLevelView()->frame().width(), c.bar);
    }
  }
  struct Colour {
    int left, most;
    ui::Color shown;
  };
  for (const Colour& c : {Colour{500, 500, ui::Color::rgba(0, 1, 0)}, Colour{250, 500, ui::Color::rgba(1, 1, 0)},
                          Colour{0, 500, ui::Color::rgba(1, 0, 0)}, Colour{125, 500, ui::Color::rgba(1, 0.5, 0)}}) {
    EXPECT_EQ(InventoryCollectionViewCell::wearColor(c.left, c.most), c.shown) << c.left;
  }
}

TEST(ModernGear, ABoxHoldingFewItemsShowsEverySlotByItsNumberAndFillsTheLowestFree) {
  EquipmentStage s(568, 320, modernFolder);
  std::shared_ptr<TBKListTag> items;
  s.changePlayer([&](TBKCompoundTag& player) {
    auto box = player.listForKey("Inventory")->compoundAtIndex(size_t(boxSlot));
    auto full = box->compoundForKey("tag")->listForKey("Items");
    // As the game keeps a box: only the filled slots, here 26, 4 and 0.
    items = std::make_shared<TBKListTag>(
        "Items", TBKTagType::Compound,
        std::vector<std::shared_ptr<TBKTag>>{full->objectAtIndexedSubscript(26), full->objectAtIndexedSubscript(4),
                                             full->objectAtIndexedSubscript(0)});
    box->compoundForKey("tag")->setValueForKey(items);
  });
  auto grid = std::make_shared<InventoryViewController>(std::make_shared<EquipmentRecord>(s.db, s.player), items);
  grid->setCapacity(27);
  s.push(grid);
  auto& view = *grid->collectionView();
  ASSERT_EQ(view.numberOfItemsInSection(0), 27);
  auto cell = [&](long position) {
    return std::dynamic_pointer_cast<InventoryCollectionViewCell>(
        view.cellForItemAtIndexPath(ui::IndexPath{0, position}));
  };
  struct Case {
    long cell;
    const char* identifier;
  };
  for (const Case& c : {Case{0, "minecraft:diamond_helmet"}, Case{1, ""}, Case{4, "minecraft:netherite_leggings"},
                        Case{26, "minecraft:cobblestone"}}) {
    SCOPED_TRACE(c.cell);
    EXPECT_EQ(cell(c.cell)->itemView() ? cell(c.cell)->itemView()->identifier() : "", c.identifier);
    grid->didSelectItemAtIndexPath(view, ui::IndexPath{0, c.cell});
    s.driver.runUntilIdle();
    auto editor = top<ItemViewController>(s);
    if (*c.identifier) {
      ASSERT_NE(editor, nullptr);
      EXPECT_EQ(editor->idField->text(), c.identifier);
      EXPECT_EQ(editor->slotLabel2->text(), std::to_string(c.cell));
      s.navigation->popViewControllerAnimated(false);
      s.driver.runUntilIdle();
    } else {
      EXPECT_EQ(editor, nullptr) << "a free slot opens nothing";
    }
  }
  grid->plusButton()->trigger();
  s.driver.runUntilIdle();
  auto stored = s.playerOnDisk().list("Inventory/32/tag/Items");
  ASSERT_EQ(stored.size(), 4u);
  EXPECT_EQ(stored[3].string("Name"), "minecraft:stone");
  EXPECT_EQ(stored[3].number("Slot"), 1) << "the lowest free slot";
  EXPECT_EQ(cell(1)->itemView()->identifier(), "minecraft:stone");
}

}  // namespace
