#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "ui/Geometry.h"

// What a map of a given size shows: the block at its middle, the points one
// block takes, and from those the block under any point and the place of
// any chunk, as values (x east, z south, as the game's blocks; the map's
// top is north). A pure computation, tested without a window.
struct MapViewport {
  // The zoom steps, points a block: a whole chunk a point up to eight
  // points a block.
  static constexpr double scales[] = {1.0 / 16, 1.0 / 8, 1.0 / 4, 1.0 / 2, 1, 2, 4, 8};
  static constexpr int scaleCount = 8;

  ui::Size size;
  double centreX = 0, centreZ = 0;  // blocks; the middle of the view
  int zoom = 4;                     // index into scales

  double scale() const { return scales[zoom]; }
  // The block coordinates under a point of the view (not floored).
  std::pair<double, double> blockAt(ui::Point point) const;
  // The rectangle the chunk takes in the view.
  ui::Rect rectOfChunk(int32_t x, int32_t z) const;
  ui::Point pointOfBlock(double x, double z) const;
  // Every chunk the view shows at least a point of, nearest the middle first.
  std::vector<std::pair<int32_t, int32_t>> visibleChunks() const;
  // The pixels a side a chunk's picture needs at this zoom: 16 down to 1.
  int tileResolution() const;
};
