#pragma once

#include <string>
#include <vector>

#include "external/Tarnbook.h"

// One thing a map marks: where it is (block coordinates) and what it is.
struct MapMarker {
  enum class Kind { Player, Spawn, Container, Creature };
  Kind kind = Kind::Player;
  double x = 0, z = 0;
  std::string title;
};

// Where a map's markers come from: the players and the spawn now;
// containers and creatures as their record kinds give them. Asked on the
// main thread when the map opens, changes dimension, or writes a place.
class MapMarkerSource {
 public:
  virtual ~MapMarkerSource() = default;
  virtual std::vector<MapMarker> markers(TBKWorldMap::Dimension dimension) = 0;
};
