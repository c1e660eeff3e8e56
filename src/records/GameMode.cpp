#include "records/GameMode.h"

#include <array>

namespace gamemode {

namespace {

struct Mode {
  int32_t value;
  const char* name;
};
constexpr std::array<Mode, 5> modes{{{survival, "Survival"},
                                     {creative, "Creative"},
                                     {adventure, "Adventure"},
                                     {followsWorld, "Default"},
                                     {spectator, "Spectator"}}};

// Spectator became a regular mode in the game's 1.21.50 release (before that
// it was behind an experiment), so an older world does not offer it.
constexpr std::array<int32_t, 3> firstWithSpectator{1, 21, 50};

}  // namespace

int32_t valueNamed(std::string_view name) {
  for (const auto& mode : modes) {
    if (name == mode.name) return mode.value;
  }
  return -1;
}

std::string nameOf(int32_t mode) {
  for (const auto& known : modes) {
    if (known.value == mode) return known.name;
  }
  return std::to_string(mode);
}

bool isTodaysLevel(const TBKCompoundTag& level) { return level.listForKey("lastOpenedWithVersion") != nullptr; }

bool offersSpectator(const TBKCompoundTag& level, const TBKCompoundTag* player) {
  if (level.numberForKey("GameType").intValue() == spectator) return true;
  if (player && playerMode(*player) == spectator) return true;
  auto version = level.listForKey("lastOpenedWithVersion");
  if (!version) return false;
  for (size_t i = 0; i < firstWithSpectator.size(); ++i) {
    auto part =
        i < version->count() ? std::dynamic_pointer_cast<TBKNumberTag>(version->objectAtIndexedSubscript(i)) : nullptr;
    int32_t have = part ? part->value().intValue() : 0;
    if (have != firstWithSpectator[i]) return have > firstWithSpectator[i];
  }
  return true;
}

std::vector<std::string> worldChoices(const TBKCompoundTag& level, const TBKCompoundTag* player) {
  if (!isTodaysLevel(level)) return {"Survival", "Creative"};
  std::vector<std::string> choices{"Survival", "Creative", "Adventure"};
  if (offersSpectator(level, player)) choices.push_back("Spectator");
  return choices;
}

std::vector<std::string> playerChoices(const TBKCompoundTag& level, const TBKCompoundTag* player) {
  std::vector<std::string> choices{"Default", "Survival", "Creative", "Adventure"};
  if (offersSpectator(level, player)) choices.push_back("Spectator");
  return choices;
}

int32_t playerMode(const TBKCompoundTag& player) {
  auto mode = std::dynamic_pointer_cast<TBKNumberTag>(player.objectForKeyedSubscript("PlayerGameMode"));
  return mode ? mode->value().intValue() : followsWorld;
}

int32_t effectiveMode(const TBKCompoundTag& level, const TBKCompoundTag& player) {
  int32_t own = playerMode(player);
  return own == followsWorld ? level.numberForKey("GameType").intValue() : own;
}

void writeAbilities(TBKCompoundTag& player, int32_t mode) {
  auto abilities = player.compoundForKey("abilities");
  if (!abilities) return;
  bool powers = mode == creative || mode == spectator;
  abilities->setValueForKey(TBKNumberTag::byteTag("mayfly", powers));
  abilities->setValueForKey(TBKNumberTag::byteTag("invulnerable", powers));
  abilities->setValueForKey(TBKNumberTag::byteTag("instabuild", mode == creative));
  // A spectator is always in the air; leaving a mode lands the player.
  abilities->setValueForKey(TBKNumberTag::byteTag("flying", mode == spectator));
}

}  // namespace gamemode
