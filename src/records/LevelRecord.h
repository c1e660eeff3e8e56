#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "external/Tarnbook.h"
#include "records/Refusal.h"
#include "records/TreeRecord.h"

// A world's level rows as the level screen changes them: the level tree's
// name, game type and spawn, and one player's own rows (their mode and
// experience), each change written at once. Game modes carry the player's
// abilities with them: the level's game type writes the abilities of the
// player's effective mode (their own "PlayerGameMode", or the world's game
// type when theirs is Default), and so does the player's own mode. A refused
// write leaves both trees as they are stored and returns the reason; nothing
// raises.
class LevelRecord {
 public:
  // `player` may be null (a world never played): the game type then changes
  // the level alone, and the player rows change nothing.
  LevelRecord(std::shared_ptr<TreeRecord> level, std::shared_ptr<TreeRecord> player);
  // The world's level tree as read now, and the player under `playerKey`.
  static LevelRecord read(const std::shared_ptr<TBKLevelDB>& db, std::shared_ptr<TBKCompoundTag> level,
                          std::shared_ptr<TBKCompoundTag> player, const std::string& playerKey);

  const std::shared_ptr<TBKCompoundTag>& level() const { return level_->tree(); }
  // Null for a world without a usable player record.
  std::shared_ptr<TBKCompoundTag> player() const { return player_ ? player_->tree() : nullptr; }

  // An int tag of the level: the game type (with the player's abilities,
  // written first so that a level saying "creative" never meets a player
  // who cannot fly) or any other, such as the spawn.
  Outcome setLevelNumber(const std::string& setting, int32_t value);
  Outcome setLevelText(const std::string& setting, const std::string& text);
  // An int tag of the player: their own mode (with the abilities of the mode
  // that then applies) or any other, such as the experience level.
  Outcome setPlayerNumber(const std::string& setting, int32_t value);

 private:
  std::shared_ptr<TreeRecord> level_;
  std::shared_ptr<TreeRecord> player_;
};
