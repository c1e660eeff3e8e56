#include "records/LevelRecord.h"

#include "Tarnbook/TBKNBT.h"
#include "records/GameMode.h"

LevelRecord::LevelRecord(std::shared_ptr<TreeRecord> level, std::shared_ptr<TreeRecord> player)
    : level_(std::move(level)), player_(std::move(player)) {}

LevelRecord LevelRecord::read(const std::shared_ptr<TBKLevelDB>& db, std::shared_ptr<TBKCompoundTag> level,
                              std::shared_ptr<TBKCompoundTag> player, const std::string& playerKey) {
  return LevelRecord(TreeRecord::level(db, std::move(level)),
                     player ? TreeRecord::player(db, playerKey, std::move(player)) : nullptr);
}

Outcome LevelRecord::setLevelNumber(const std::string& setting, int32_t value) {
  auto writeLevel = [&] {
    return level_->edit(*level(), [&](TBKCompoundTag& tree) {
      tree.setValueForKey(TBKNumberTag::intTag(setting, value));
      return true;
    });
  };
  auto player = this->player();
  auto abilities = setting == "GameType" && player ? player->compoundForKey("abilities") : nullptr;
  if (!abilities) return writeLevel();
  int32_t own = gamemode::playerMode(*player);
  // The abilities as stored, copied inside the edit, where a tree the format
  // cannot hold is a refusal rather than an exception.
  std::shared_ptr<TBKTag> stored;
  auto writeAbilities = [&] {
    return player_->edit(*abilities, [&](TBKCompoundTag& part) {
      stored = TBKNBT::parse(TBKNBT::serialise(part));
      gamemode::writeAbilities(*player, own == gamemode::followsWorld ? value : own);
      return true;
    });
  };
  if (auto refusal = writeAbilities()) return refusal;
  Outcome outcome = writeLevel();
  if (outcome) {
    // The player took the new mode's abilities and the level did not: the
    // player gets back exactly the abilities they had, flight included.
    player_->edit(*abilities, [&](TBKCompoundTag& part) {
      part.takeValueOf(static_cast<TBKCompoundTag&>(*stored));
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
