#include "level/PlayerSettingRows.h"

#include "records/GameMode.h"

std::vector<LevelSettingDefinition> playerSettingRows(const TBKCompoundTag& level, const TBKCompoundTag* player) {
  using Row = LevelSettingDefinition;
  std::vector<Row> rows;
  bool today = player && gamemode::isTodaysLevel(level);
  if (today) {
    rows.push_back({"Player Mode", "PlayerGameMode", Row::PlayerChoice, gamemode::playerChoices(level, player)});
    rows.push_back({"Experience Level", "PlayerLevel", Row::PlayerWholeNumber, {}});
  }
  rows.push_back({"Armor", "_", Row::ArmorButton, {}});
  rows.push_back({"Inventory", "_", Row::InventoryButton, {}});
  if (today && player->listForKey("EnderChestInventory"))
    rows.push_back({"Ender Chest", "_", Row::EnderChestButton, {}});
  auto offhand = today ? player->listForKey("Offhand") : nullptr;
  if (offhand && offhand->count() > 0) rows.push_back({"Offhand", "_", Row::OffhandButton, {}});
  return rows;
}
