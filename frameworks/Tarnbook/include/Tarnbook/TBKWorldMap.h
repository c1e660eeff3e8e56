#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Tarnbook/TBKChunkKey.h"
#include "Tarnbook/TBKChunkSurface.h"

class TBKWorldStore;

// A world's blocks as a map reads them: the surface of each chunk the game
// saved, from its sub-chunks (or the early game's whole chunk). Chunks the
// game never saved are not there; nothing is invented for them.
//
// The database is opened on construction, shared with every other user of
// the same world in this process, and read only. Reads may run on any
// thread at once. A record too damaged to read is left out of the map and
// counted (damagedRecords()); a database that cannot be read raises
// TBKException.
class TBKWorldMap {
 public:
  using Dimension = TBKChunkKey::Dimension;

  TBKWorldMap(const std::string& worldFolder, const std::string& worldName);
  ~TBKWorldMap();

  // The sky over a dimension: the Nether's roof is looked under.
  static TBKChunkSurface::Sky skyOf(Dimension dimension);

  // The surface of chunk (x, z) of a dimension, or nullopt when the game
  // saved no blocks of it.
  std::optional<TBKChunkSurface> surface(int32_t x, int32_t z, Dimension dimension);
  // Calls visit with each chunk of the dimension that has blocks, in the
  // database's order, reading every record of the world once. visit
  // returns false to stop the walk.
  void forEachSurface(Dimension dimension,
                      const std::function<bool(int32_t x, int32_t z, const TBKChunkSurface& surface)>& visit);

  int damagedRecords() const { return damaged_; }

  struct Gathered;

 private:
  std::optional<TBKChunkSurface> surfaceOf(const Gathered& chunk, Dimension dimension);

  std::shared_ptr<TBKWorldStore> store_;
  std::atomic<int> damaged_{0};
};
