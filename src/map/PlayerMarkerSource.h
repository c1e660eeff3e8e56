#pragma once

#include <memory>

#include "map/MapMarkerSource.h"

// The local player (where their record says they stand, in its dimension)
// and the world's spawn (always in the Overworld), from the trees as held
// in memory, so a place written is marked at once.
class PlayerMarkerSource : public MapMarkerSource {
 public:
  // player may be null: a world never played marks only its spawn.
  PlayerMarkerSource(std::shared_ptr<TBKCompoundTag> level, std::shared_ptr<TBKCompoundTag> player);
  std::vector<MapMarker> markers(TBKWorldMap::Dimension dimension) override;

 private:
  std::shared_ptr<TBKCompoundTag> level_;
  std::shared_ptr<TBKCompoundTag> player_;
};
