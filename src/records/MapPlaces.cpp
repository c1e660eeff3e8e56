#include "records/MapPlaces.h"

#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNumberTag.h"

namespace {

std::shared_ptr<TBKListTag> floats(const std::string& name, float a, float b, float c) {
  return std::make_shared<TBKListTag>(
      name, TBKTagType::Float,
      std::vector<std::shared_ptr<TBKTag>>{TBKNumberTag::floatTag("", a), TBKNumberTag::floatTag("", b),
                                           TBKNumberTag::floatTag("", c)});
}

}  // namespace

MapPlaces::MapPlaces(std::shared_ptr<TreeRecord> level, std::shared_ptr<TreeRecord> player)
    : level_(std::move(level)), player_(std::move(player)) {}

Outcome MapPlaces::movePlayer(int32_t x, int32_t y, int32_t z, int32_t dimension) {
  if (!player_) return Refusal{"This world has no player to move: play it in the game once first."};
  return player_->edit(*player_->tree(), [&](TBKCompoundTag& player) {
    player.setValueForKey(floats("Pos", float(x + 0.5), float(y + 1 + eyeHeight), float(z + 0.5)));
    player.setValueForKey(floats("Motion", 0, 0, 0));
    if (dimension != 0 || player.objectForKeyedSubscript("DimensionId")) {
      player.setValueForKey(TBKNumberTag::intTag("DimensionId", dimension));
    }
    return true;
  });
}

Outcome MapPlaces::setSpawn(int32_t x, int32_t y, int32_t z) {
  return level_->edit(*level_->tree(), [&](TBKCompoundTag& level) {
    level.setValueForKey(TBKNumberTag::intTag("SpawnX", x));
    level.setValueForKey(TBKNumberTag::intTag("SpawnY", y));
    level.setValueForKey(TBKNumberTag::intTag("SpawnZ", z));
    return true;
  });
}
