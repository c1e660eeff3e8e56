#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "external/Tarnbook.h"
#include "records/TreeRecord.h"

// One player record as the equipment screens edit it: the record's key and
// its tree. Every screen opened on it edits that one tree in place through
// this object, which writes all of it after each change, so a list nested
// anywhere inside (the inventory, a box's contents) reaches the disk with the
// rest of the record, once. A refused write takes the change back out of the
// tree and returns the reason; nothing raises.
class EquipmentRecord {
 public:
  static constexpr const char* localPlayerKey = "~local_player";

  EquipmentRecord(std::shared_ptr<TBKLevelDB> db, std::shared_ptr<TBKCompoundTag> player,
                  std::string key = localPlayerKey);
  // Any tree and the way it is stored; for tests of the rules.
  explicit EquipmentRecord(std::shared_ptr<TreeRecord> record, std::string key = localPlayerKey);

  const std::shared_ptr<TBKCompoundTag>& player() const { return record_->tree(); }
  const std::string& key() const { return key_; }

  // A change of an entry, a list or the player compound itself; see
  // TreeRecord::edit.
  Outcome edit(TBKCompoundTag& part, const std::function<bool(TBKCompoundTag&)>& edit) {
    return record_->edit(part, edit);
  }
  Outcome edit(TBKListTag& part, const std::function<bool(TBKListTag&)>& edit) { return record_->edit(part, edit); }

  // Adds an item to `entries`, or, when that is null, to the player's own
  // list `key` (made when the player has none; a child of that name of
  // another type is left alone). Early worlds: an item (id 1, count 1) with
  // the next slot number; a list of 256 entries is refused, as a byte slot
  // number would repeat. Named items: the first empty slot in grid order
  // gets a stone, count 1; a container of `capacity` slots appends one in
  // its lowest free slot; with no room, a refusal that says so.
  Outcome addItem(const std::shared_ptr<TBKListTag>& entries, const std::string& key, size_t capacity);

  // Puts armor piece `piece` (0 helmet .. 3 boots) on: `id` for a player of
  // numbered items (0, nothing, is written as any piece is: count 1),
  // `name` for one of named items ("" is the game's empty slot: count 0).
  // Damage 0. A missing or short "Armor" is first filled with empty entries
  // (count 0) up to the piece; an entry of the other kind than the player's
  // is left alone.
  Outcome wearArmor(size_t piece, uint16_t id, const std::string& name);

 private:
  std::shared_ptr<TreeRecord> record_;
  std::string key_;
};
