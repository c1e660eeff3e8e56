#include "records/EquipmentRecord.h"

EquipmentRecord::EquipmentRecord(std::shared_ptr<TBKLevelDB> db, std::shared_ptr<TBKCompoundTag> player,
                                 std::string key)
    : db_(db), record_(TreeRecord::player(db, key, std::move(player))), key_(std::move(key)) {}

void EquipmentRecord::save() const { db_->setPlayerForKey(key_, player()); }
