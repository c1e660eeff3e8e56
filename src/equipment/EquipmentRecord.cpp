#include "equipment/EquipmentRecord.h"

void EquipmentRecord::save() const { db_->setPlayer(player_); }
