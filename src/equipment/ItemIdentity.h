#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "external/Bevel.h"
#include "external/Tarnbook.h"

// Which item an inventory or armor entry holds, read from and written to the
// entry in one place, so every screen agrees on it.
//
// Worlds of the early game number their items: a short "id" and a short
// "Damage" (variant or wear), both read as unsigned 16-bit. That is the only
// kind understood so far. Today's worlds name their items with a "Name"
// string instead; that kind belongs here too (read by of(), written back by
// writeTo() as the same kind). Until then a named entry is recognised and
// left alone: it reads as item 0, and nothing numbered is written into it or
// added beside it, so that no screen ever mixes the two kinds.
class ItemIdentity {
 public:
  // A numbered item.
  static ItemIdentity numbered(uint16_t id, uint16_t damage) { return ItemIdentity(id, damage); }
  // The identity an entry holds; a missing tag reads as 0.
  static ItemIdentity of(const TBKCompoundTag& entry);

  uint16_t id() const { return id_; }
  uint16_t damage() const { return damage_; }
  ItemIdentity withID(uint16_t id) const { return ItemIdentity(id, damage_); }
  ItemIdentity withDamage(uint16_t damage) const { return ItemIdentity(id_, damage); }

  // Whether the entry names its item, or the list holds such an entry.
  static bool isNamed(const TBKCompoundTag& entry);
  static bool holdsNamed(const TBKListTag& list);

  // Stores the identity into `entry`, "id" then "Damage" (short tags),
  // each replacing the child of its name where it stands or appended.
  // Refuses a named entry: false, and the entry is left as it was.
  bool writeTo(TBKCompoundTag& entry) const;
  // A new entry in the game's order of tags: "Slot" (when slot >= 0, as a
  // byte), "id", "Count", "Damage".
  std::shared_ptr<TBKCompoundTag> makeEntry(int slot, uint8_t count) const;

  // From the item catalogue: the name (empty for an unknown item), the
  // picture (null for an unknown one) and a view showing it.
  std::string name() const;
  std::shared_ptr<ui::Image> picture() const;
  std::shared_ptr<BVLItemView> viewWithFrame(const ui::Rect& frame) const;

  bool operator==(const ItemIdentity&) const = default;

 private:
  ItemIdentity(uint16_t id, uint16_t damage) : id_(id), damage_(damage) {}

  uint16_t id_;
  uint16_t damage_;
};
