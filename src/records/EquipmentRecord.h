#pragma once

#include <functional>
#include <memory>
#include <string>

#include "external/Tarnbook.h"
#include "records/TreeRecord.h"

// One player record as the equipment screens edit it: the world's database,
// the record's key and its tree. Every screen opened on it edits that one
// tree in place through edit(), which writes all of it after each change, so
// a list nested anywhere inside (the inventory, a box's contents) reaches the
// disk with the rest of the record, once; a refused write takes the change
// back out of the tree and returns the reason.
class EquipmentRecord {
 public:
  static constexpr const char* localPlayerKey = "~local_player";

  EquipmentRecord(std::shared_ptr<TBKLevelDB> db, std::shared_ptr<TBKCompoundTag> player,
                  std::string key = localPlayerKey);

  const std::shared_ptr<TBKCompoundTag>& player() const { return record_->tree(); }
  const std::string& key() const { return key_; }

  // A change of an entry, a list or the player compound itself; see
  // TreeRecord::edit.
  Outcome edit(TBKCompoundTag& part, const std::function<bool(TBKCompoundTag&)>& edit) {
    return record_->edit(part, edit);
  }
  Outcome edit(TBKListTag& part, const std::function<bool(TBKListTag&)>& edit) { return record_->edit(part, edit); }

  // Writes the whole tree as the record under key() (one write, after the
  // session's backup of that record).
  void save() const;

 private:
  std::shared_ptr<TBKLevelDB> db_;
  std::shared_ptr<TreeRecord> record_;
  std::string key_;
};
