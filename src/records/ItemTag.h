#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "external/Tarnbook.h"

// What today's game keeps in a named entry's "tag" compound: the uses spent
// ("Damage", an int: the wear, apart from the entry's own "Damage" short,
// which is the item's data value), the enchantments ("ench": compounds with
// "id" and "lvl" shorts), the custom name ("display" / "Name") and, for a
// container item, its own "Items". Each change touches only its own child
// and keeps every other one, in its place; a "tag", "display" or "ench" of
// another type than the game's is left alone and the change refused (false).
namespace itemtag {

struct Enchantment {
  int16_t id = 0;
  int16_t level = 0;
};

// 0 when there is no "tag" or no "Damage" in it.
int32_t spentUses(const TBKCompoundTag& entry);
// Makes "tag" (appended to the entry) when it is missing.
bool setSpentUses(TBKCompoundTag& entry, int32_t spent);

std::vector<Enchantment> enchantments(const TBKCompoundTag& entry);
// The list's `index`th enchantment takes `level`; false when there is none.
bool setLevel(TBKCompoundTag& entry, size_t index, int16_t level);
// Removes it; the last one removed takes "ench" with it.
bool removeEnchantment(TBKCompoundTag& entry, size_t index);
// Appends one, making "tag" and "ench" as needed.
bool addEnchantment(TBKCompoundTag& entry, Enchantment added);

// Empty when there is none.
std::string customName(const TBKCompoundTag& entry);
// An empty name removes "Name", and "display" when nothing else is left in it.
// False when nothing changed.
bool setCustomName(TBKCompoundTag& entry, const std::string& name);

// A container item's own entries; null for any other item.
std::shared_ptr<TBKListTag> containedItems(const TBKCompoundTag& entry);
// The same, made empty (with "tag" as needed) when the container has none
// yet; a child "Items" of another kind is replaced by no one: null then.
std::shared_ptr<TBKListTag> madeItems(TBKCompoundTag& entry);
// Whether the item is a container whose "Items" the game keeps with it (a
// shulker box of any colour, a bundle), and how many slots it has.
bool isContainer(const std::string& identifier);
size_t containerSlots(const std::string& identifier);

}  // namespace itemtag
