#include "records/EquipmentRecord.h"

#include <algorithm>
#include <vector>

#include "records/ItemGrid.h"
#include "records/ItemIdentity.h"

namespace {

constexpr size_t slotNumbers = 256;  // "Slot" is a byte
// What an add puts into an empty slot of today's inventory: the early game's
// item 1.
const char* const addedName = "minecraft:stone";

// Adds a named item to `inventory` (null: the player has no list yet, which
// this does not make); false when there is no room.
bool addNamed(TBKListTag* inventory, size_t capacity) {
  if (!inventory) return false;
  for (size_t index : ItemGrid::gridEntries(*inventory)) {
    auto entry = inventory->compoundAtIndex(index);
    if (entry && ItemIdentity::of(*entry).isEmptySlot()) {
      ItemIdentity::named(addedName, 0).writeTo(*entry);
      entry->setValueForKey(TBKNumberTag::byteTag("Count", 1));
      return true;
    }
  }
  if (inventory->count() >= capacity) return false;
  std::vector<bool> used(capacity, false);
  for (size_t i = 0; i < inventory->count(); ++i) {
    if (size_t slot = ItemGrid::slotOf(*inventory, i); slot < capacity) used[slot] = true;
  }
  int slot = static_cast<int>(std::find(used.begin(), used.end(), false) - used.begin());
  inventory->setObjectAtIndexedSubscript(ItemIdentity::named(addedName, 0).makeEntry(slot, 1), inventory->count());
  return true;
}

}  // namespace

EquipmentRecord::EquipmentRecord(std::shared_ptr<TBKLevelDB> db, std::shared_ptr<TBKCompoundTag> player,
                                 std::string key)
    : EquipmentRecord(TreeRecord::player(db, key, std::move(player)), key) {}

EquipmentRecord::EquipmentRecord(std::shared_ptr<TreeRecord> record, std::string key)
    : record_(std::move(record)), key_(std::move(key)) {}

Outcome EquipmentRecord::addItem(const std::shared_ptr<TBKListTag>& entries, const std::string& key, size_t capacity) {
  TBKCompoundTag& tree = *player();
  bool full = false;
  auto add = [&] {
    auto inventory = entries ? entries : tree.listForKey(key);
    if (!inventory) {
      if (entries || tree.objectForKeyedSubscript(key)) return false;
      if (ItemIdentity::namesItems(tree)) return !(full = true);
      inventory = std::make_shared<TBKListTag>(key, TBKTagType::Compound);
      tree.setValueForKey(inventory);
    }
    size_t n = inventory->count();
    if (n > 0 && inventory->elementType() != TBKTagType::Compound) return false;
    // The list's own kind; an empty list takes the kind of the armor.
    if (n > 0 ? ItemIdentity::holdsNamed(*inventory) : capacity > 0 || ItemIdentity::namesItems(tree)) {
      return addNamed(inventory.get(), capacity) || !(full = true);
    }
    if (n >= slotNumbers) return !(full = true);
    inventory->setObjectAtIndexedSubscript(ItemIdentity::numbered(1, 0).makeEntry(static_cast<int>(n), 1), n);
    return true;
  };
  // A box's list is changed in place, so the screen showing it keeps it.
  Outcome outcome =
      entries ? edit(*entries, [&](TBKListTag&) { return add(); }) : edit(tree, [&](TBKCompoundTag&) { return add(); });
  if (full) return Refusal{"There is no empty slot to put a new item in."};
  return outcome;
}

Outcome EquipmentRecord::wearArmor(size_t piece, uint16_t id, const std::string& name) {
  return edit(*player(), [&](TBKCompoundTag& tree) {
    auto armor = tree.listForKey("Armor");
    if (!armor) {
      if (tree.objectForKeyedSubscript("Armor")) return false;  // of another type: not ours to replace
      armor = std::make_shared<TBKListTag>("Armor", TBKTagType::Compound);
      tree.setValueForKey(armor);
    }
    if (armor->count() > 0 && armor->elementType() != TBKTagType::Compound) return false;
    // The list's own kind; an empty list takes the kind of the inventory.
    bool named = armor->count() > 0 ? ItemIdentity::holdsNamed(*armor) : ItemIdentity::namesItems(tree);
    ItemIdentity chosen = named ? ItemIdentity::named(name, 0) : ItemIdentity::numbered(id, 0);
    ItemIdentity none = named ? ItemIdentity::named("", 0) : ItemIdentity::numbered(0, 0);
    // An entry of the other kind in the list is not overwritten with this
    // one; the empty entries that fill a short list are of the player's.
    if (piece < armor->count()) {
      auto entry = armor->compoundAtIndex(piece);
      if (!entry || ItemIdentity::takesNamed(*entry, tree) != named) return false;
    }
    while (armor->count() <= piece) armor->setObjectAtIndexedSubscript(none.makeEntry(-1, 0), armor->count());
    auto entry = armor->compoundAtIndex(piece);
    entry->setValueForKey(TBKNumberTag::shortTag("Damage", 0));
    // The early game's "nothing" is id 0 worn with count 1, as it always was
    // written; today's is the game's own empty slot.
    entry->setValueForKey(TBKNumberTag::byteTag("Count", chosen.isEmptySlot() ? 0 : 1));
    chosen.writeTo(*entry);
    return true;
  });
}
