#include "records/LevelRecord.h"

#include "records/GameMode.h"

LevelRecord::LevelRecord(std::shared_ptr<TreeRecord> level, std::shared_ptr<TreeRecord> player)
    : level_(std::move(level)), player_(std::move(player)) {}

LevelRecord LevelRecord::read(const std::shared_ptr<TBKLevelDB>& db, std::shared_ptr<TBKCompoundTag> level,
                              std::shared_ptr<TBKCompoundTag> player, const std::string& playerKey) {
  return LevelRecord(TreeRecord::level(db, std::move(level)),
                     player ? TreeRecord::player(db, playerKey, std::move(player)) : nullptr);
}

Outcome LevelRecord::setLevelNumber(const std::string& setting, int32_t value) {
  auto player = this->player();
  if (setting == "GameType" && player) {
    int32_t own = gamemode::playerMode(*player);
    if (auto refusal = player_->edit(*player, [&](TBKCompoundTag& tree) {
          gamemode::writeAbilities(tree, own == gamemode::followsWorld ? value : own);
          return true;
        })) {
      return refusal;
    }
  }
  Outcome outcome = level_->edit(*level(), [&](TBKCompoundTag& tree) {
    tree.setValueForKey(TBKNumberTag::intTag(setting, value));
    return true;
  });
  if (outcome && setting == "GameType" && player) {
    // The player took the new mode's abilities and the level did not: the
    // player goes back to the abilities of the mode still in the level.
    player_->edit(*player, [&](TBKCompoundTag& tree) {
      gamemode::writeAbilities(tree, gamemode::effectiveMode(*level(), tree));
      return true;
    });
  }
  return outcome;
}

Outcome LevelRecord::setLevelText(const std::string& setting, const std::string& text) {
  return level_->edit(*level(), [&](TBKCompoundTag& tree) {
    tree.setValueForKey(std::make_shared<TBKStringTag>(setting, text));
    return true;
  });
}

Outcome LevelRecord::setPlayerNumber(const std::string& setting, int32_t value) {
  auto player = this->player();
  if (!player) return std::nullopt;
  return player_->edit(*player, [&](TBKCompoundTag& tree) {
    tree.setValueForKey(TBKNumberTag::intTag(setting, value));
    if (setting == "PlayerGameMode") gamemode::writeAbilities(tree, gamemode::effectiveMode(*level(), tree));
    return true;
  });
}
