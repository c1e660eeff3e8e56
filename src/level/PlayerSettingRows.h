#pragma once

#include <vector>

#include "external/Tarnbook.h"
#include "level/LevelTableViewCell.h"

// The rows that edit one player, whichever record holds them: the level
// screen shows them for the local player, and again, alone, for any player
// chosen from the players screen (LevelTableViewController with that
// player's key). Rows about one player belong here, so every player gets them.
//
// An early world's player gets "Armor" and "Inventory", as it always has.
// A player of today's game (a level that today's game wrote) gets, before
// those, "Player Mode" and "Experience Level", and after them "Ender Chest"
// and "Offhand" where the record has them. `player` may be null (a world
// never played): only the two early rows then, which explain why they open
// nothing.
std::vector<LevelSettingDefinition> playerSettingRows(const TBKCompoundTag& level, const TBKCompoundTag* player);
