#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "external/Tarnbook.h"

// The game modes of today's game as the level tree's "GameType" and a
// player's own "PlayerGameMode" store them, and what each lets the player do.
namespace gamemode {

constexpr int32_t survival = 0;
constexpr int32_t creative = 1;
constexpr int32_t adventure = 2;
constexpr int32_t followsWorld = 5;  // a player's "Default": the world's GameType applies
constexpr int32_t spectator = 6;

// The mode a choice titled `name` stores ("Survival", "Creative",
// "Adventure", "Spectator", "Default"), or -1 for another title.
int32_t valueNamed(std::string_view name);
// "Survival" ... for the five modes; the number itself for any other value.
std::string nameOf(int32_t mode);

// A level written by today's game: it records which game versions opened it.
bool isTodaysLevel(const TBKCompoundTag& level);
// Whether the game that last opened the level offers Spectator without
// experiments (from 1.21.50), or the level or player already uses it.
bool offersSpectator(const TBKCompoundTag& level, const TBKCompoundTag* player);
// The segments of the world's "Game Type" row and of a "Player Mode" row.
std::vector<std::string> worldChoices(const TBKCompoundTag& level, const TBKCompoundTag* player);
std::vector<std::string> playerChoices(const TBKCompoundTag& level, const TBKCompoundTag* player);

// The player's own mode; Default when the record holds none.
int32_t playerMode(const TBKCompoundTag& player);
// The mode the game puts the player in: their own, or the world's when
// theirs is Default.
int32_t effectiveMode(const TBKCompoundTag& level, const TBKCompoundTag& player);
// Stores "mayfly", "invulnerable", "instabuild" and "flying" (bytes, in that
// order) for `mode` into the player's "abilities"; a player without that
// compound is left as it is. Modes without powers (Survival, Adventure and
// values the game does not define) clear all four.
void writeAbilities(TBKCompoundTag& player, int32_t mode);

}  // namespace gamemode
