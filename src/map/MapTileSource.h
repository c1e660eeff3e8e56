#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "external/Tarnbook.h"
#include "ui/Image.h"

// The map's pictures of chunks, read and painted on a thread of its own so
// no frame ever waits for the world's database. The screen asks for the
// chunks it shows, nearest its centre first; each request replaces the
// last, so a map dragged far away never waits for what it left. Pictures
// arrive on the main thread. The worker ends when the source goes.
class MapTileSource {
 public:
  struct Tile {
    int32_t x = 0, z = 0;
    int resolution = 16;                    // pixels a side: 16, or fewer when zoomed far out
    std::shared_ptr<ui::Image> picture;     // null: the game saved nothing of this chunk
    std::vector<std::string> unknownNames;  // block names the colour table lacks
  };
  // Called on the main thread with each tile painted.
  using Delivery = std::function<void(const Tile&)>;

  MapTileSource(std::shared_ptr<TBKWorldMap> map, Delivery delivery);
  ~MapTileSource();
  MapTileSource(const MapTileSource&) = delete;
  MapTileSource& operator=(const MapTileSource&) = delete;

  // Replaces the work asked for: these chunks of the dimension, in order,
  // each painted at resolution pixels a side (16, 8, 4, 2 or 1).
  void request(TBKWorldMap::Dimension dimension, std::vector<std::pair<int32_t, int32_t>> chunks, int resolution);

 private:
  using Position = std::pair<int32_t, int32_t>;
  void run();
  // The chunk's surface, read once and kept while there is room: its
  // neighbours light its edges.
  const TBKChunkSurface* surfaceOf(TBKWorldMap::Dimension dimension, Position chunk);
  Tile paint(TBKWorldMap::Dimension dimension, Position chunk, int resolution);

  std::shared_ptr<TBKWorldMap> map_;
  // Held here and captured weakly by each delivery: a picture that arrives
  // after the source has gone is dropped.
  std::shared_ptr<Delivery> delivery_;

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  TBKWorldMap::Dimension dimension_ = TBKWorldMap::Dimension::Overworld;
  std::vector<Position> pending_;  // taken from the back
  int resolution_ = 16;

  // The worker's own: surfaces of one dimension, at most surfaceLimit.
  static constexpr size_t surfaceLimit = 2048;
  TBKWorldMap::Dimension surfacesOf_ = TBKWorldMap::Dimension::Overworld;
  std::map<Position, std::optional<TBKChunkSurface>> surfaces_;

  std::thread worker_;
};
