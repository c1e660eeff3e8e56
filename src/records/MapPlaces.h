#pragma once

#include <cstdint>
#include <memory>

#include "records/Refusal.h"
#include "records/TreeRecord.h"

// The two places a map's tap may move: where the player stands and the
// world's spawn, each one write through its TreeRecord (backed up like any
// other); a refused write leaves the tree as stored and returns the reason.
class MapPlaces {
 public:
  // A player stands on a block with their feet on its top face and their
  // position at eye height, as the game saves it.
  static constexpr double eyeHeight = 1.62;

  // `player` may be null (a world never played): moving them is refused.
  MapPlaces(std::shared_ptr<TreeRecord> level, std::shared_ptr<TreeRecord> player);

  // The player onto block (x, y, z) of dimension (0 the Overworld, 1 the
  // Nether, 2 the End): "Pos" becomes the middle of its top face at eye
  // height, "DimensionId" the dimension (written where the record has one or
  // the dimension is not the Overworld), "Motion" stops.
  Outcome movePlayer(int32_t x, int32_t y, int32_t z, int32_t dimension);
  // The world's spawn at block (x, y, z): SpawnX, SpawnY and SpawnZ in one
  // write. The spawn is always in the Overworld.
  Outcome setSpawn(int32_t x, int32_t y, int32_t z);

 private:
  std::shared_ptr<TreeRecord> level_;
  std::shared_ptr<TreeRecord> player_;
};
