#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Tarnbook/TBKEntity.h"
#include "external/Tarnbook.h"
#include "records/ContainerSummary.h"

// One thing a map marks: where it is (block coordinates) and what it is.
// A container or a creature carries what a tap opens.
struct MapMarker {
  enum class Kind { Player, Spawn, Container, Creature };
  Kind kind = Kind::Player;
  double x = 0, z = 0;
  std::string title;
  std::string picture;  // the catalogue item drawn for it; "" for a plain dot
  std::shared_ptr<const ContainerSummary> container;
  std::shared_ptr<TBKEntity> creature;

  bool opens() const { return container || creature; }
};

// Where a map's markers come from. Asked on the main thread when the map
// opens, changes dimension, or writes a place. A source that reads the
// world on a worker starts when the map shows, tells of what it found on
// the main thread, and stops when the map goes.
class MapMarkerSource {
 public:
  virtual ~MapMarkerSource() = default;
  virtual std::vector<MapMarker> markers(TBKWorldMap::Dimension dimension) = 0;
  virtual void start(std::function<void()> /*arrived*/) {}
  virtual void stop() {}
};
