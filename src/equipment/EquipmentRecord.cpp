#include "equipment/EquipmentRecord.h"

void EquipmentRecord::save() const { db_->setPlayerForKey(key_, player_); }
