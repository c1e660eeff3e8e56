#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "external/Tarnbook.h"

// Which item an inventory or armor entry holds, read from and written to the
// entry in one place, so every screen agrees on it.
//
// There are two kinds. Worlds of the early game number their items: a short
// "id" and a short "Damage" (variant or wear), both read as unsigned 16-bit.
// Today's worlds name them: a "Name" string ("minecraft:diamond_sword", ""
// for an empty slot) with the same "Damage", and no "id". An identity is
// only ever written into an entry of its own kind, so that no screen mixes
// the two: the game reads one or the other, never both.
class ItemIdentity {
 public:
  static ItemIdentity numbered(uint16_t id, uint16_t damage) { return ItemIdentity(id, damage); }
  static ItemIdentity named(std::string identifier, uint16_t damage) {
    return ItemIdentity(std::move(identifier), damage);
  }
  // The identity an entry holds: named when it has a "Name" string, else
  // numbered; a missing number reads as 0.
  static ItemIdentity of(const TBKCompoundTag& entry);

  bool isNamed() const { return named_; }
  // A named empty slot ("Name" "").
  bool isEmptySlot() const { return named_ && identifier_.empty(); }
  // 0 for a named item.
  uint16_t id() const { return id_; }
  // Empty for a numbered item.
  const std::string& identifier() const { return identifier_; }
  uint16_t damage() const { return damage_; }
  ItemIdentity withDamage(uint16_t damage) const {
    ItemIdentity changed = *this;
    changed.damage_ = damage;
    return changed;
  }
  // What the "ID" field shows: the number, or the name.
  std::string idText() const { return named_ ? identifier_ : std::to_string(id_); }

  // Whether the entry names its item, or the list holds such an entry.
  static bool isNamed(const TBKCompoundTag& entry);
  static bool holdsNamed(const TBKListTag& list);
  // Whether the player's items are named: the "Inventory" or the "Armor"
  // holds a named entry.
  static bool namesItems(const TBKCompoundTag& player);
  // Whether an item chosen for `entry` should be named: the entry's own
  // kind, and for an entry of neither kind (no "Name", no "id") the player's.
  static bool takesNamed(const TBKCompoundTag& entry, const TBKCompoundTag& player);

  // Stores the identity into `entry`, each tag replacing the child of its
  // name where it stands or appended: a numbered one "id" then "Damage"
  // (shorts); a named one "Name" (a string) then "Damage". A named identity
  // whose name differs from the entry's drops the entry's "Block", which
  // described the old item's block. Every other child is kept. Refuses an
  // entry of the other kind: false, and the entry is left as it was.
  bool writeTo(TBKCompoundTag& entry) const;
  // A new entry in the game's order of tags. Numbered: "Slot" (when
  // slot >= 0, as a byte), "id", "Count", "Damage". Named: "Count",
  // "Damage", "Name", "Slot" (when slot >= 0), "WasPickedUp" 0.
  std::shared_ptr<TBKCompoundTag> makeEntry(int slot, uint8_t count) const;

  bool operator==(const ItemIdentity&) const = default;

 private:
  ItemIdentity(uint16_t id, uint16_t damage) : id_(id), damage_(damage) {}
  ItemIdentity(std::string identifier, uint16_t damage)
      : named_(true), damage_(damage), identifier_(std::move(identifier)) {}

  bool named_ = false;
  uint16_t id_ = 0;
  uint16_t damage_ = 0;
  std::string identifier_;
};
