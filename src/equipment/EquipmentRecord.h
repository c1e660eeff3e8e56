#pragma once

#include <memory>
#include <string>

#include "external/Tarnbook.h"

// One player record as the equipment screens edit it: the world's database,
// the record's key and its tree. Every screen opened on it edits that one
// tree in place and hands all of it back through save() after each change,
// so a list nested anywhere inside (the inventory, a box's contents) reaches
// the disk with the rest of the record, once.
class EquipmentRecord {
 public:
  static constexpr const char* localPlayerKey = "~local_player";

  EquipmentRecord(std::shared_ptr<TBKLevelDB> db, std::shared_ptr<TBKCompoundTag> player,
                  std::string key = localPlayerKey)
      : db_(std::move(db)), player_(std::move(player)), key_(std::move(key)) {}

  const std::shared_ptr<TBKLevelDB>& db() const { return db_; }
  const std::shared_ptr<TBKCompoundTag>& player() const { return player_; }
  const std::string& key() const { return key_; }

  // Writes the whole tree as the record under key() (one write, after the
  // session's backup of that record).
  void save() const;

 private:
  std::shared_ptr<TBKLevelDB> db_;
  std::shared_ptr<TBKCompoundTag> player_;
  std::string key_;
};
