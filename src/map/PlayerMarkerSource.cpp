#include "map/PlayerMarkerSource.h"

PlayerMarkerSource::PlayerMarkerSource(std::shared_ptr<TBKCompoundTag> level, std::shared_ptr<TBKCompoundTag> player)
    : level_(std::move(level)), player_(std::move(player)) {}

std::vector<MapMarker> PlayerMarkerSource::markers(TBKWorldMap::Dimension dimension) {
  std::vector<MapMarker> found;
  if (dimension == TBKWorldMap::Dimension::Overworld) {
    found.push_back({MapMarker::Kind::Spawn, level_->numberForKey("SpawnX").doubleValue() + 0.5,
                     level_->numberForKey("SpawnZ").doubleValue() + 0.5, "World spawn"});
  }
  auto position = player_ ? player_->listForKey("Pos") : nullptr;
  if (position && position->count() == 3 &&
      player_->numberForKey("DimensionId").intValue() == static_cast<int32_t>(dimension)) {
    auto at = [&](size_t i) {
      auto number = std::dynamic_pointer_cast<TBKNumberTag>(position->value()[i]);
      return number ? number->value().doubleValue() : 0.0;
    };
    found.push_back({MapMarker::Kind::Player, at(0), at(2), "Player"});
  }
  return found;
}
