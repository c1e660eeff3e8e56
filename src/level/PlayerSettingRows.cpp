#include "level/PlayerSettingRows.h"

#include "records/GameMode.h"

std::vector<LevelSettingDefinition> playerSettingRows(const TBKCompoundTag& level, const TBKCompoundTag* player) {
  std::vector<LevelSettingDefinition> rows;
  bool today = player && gamemode::isTodaysLevel(level);
  if (today) {
    rows.push_back({.name = "Player Mode",
                    .setting = "PlayerGameMode",
                    .kind = LevelRowKind::PlayerChoice,
                    .names = gamemode::playerChoices(level, player)});
    rows.push_back({.name = "Experience Level", .setting = "PlayerLevel", .kind = LevelRowKind::PlayerWholeNumber});
  }
  rows.push_back({.name = "Armor", .kind = LevelRowKind::ArmorButton});
  rows.push_back({.name = "Inventory", .kind = LevelRowKind::InventoryButton});
  if (today && player->listForKey("EnderChestInventory")) {
    rows.push_back({.name = "Ender Chest", .kind = LevelRowKind::EnderChestButton});
  }
  auto offhand = today ? player->listForKey("Offhand") : nullptr;
  if (offhand && offhand->count() > 0) rows.push_back({.name = "Offhand", .kind = LevelRowKind::OffhandButton});
  return rows;
}
