#pragma once

#include <cstddef>
#include <vector>

#include "map/MapMarkerSource.h"
#include "map/MapViewport.h"

// The markers that open a screen, as a map of a given zoom draws them: those
// in or near the view, gathered by the square of the view's grid they fall
// in, so that thousands of chests in one base are one picture with a count
// and the view stays fast. At the closest zoom each is drawn on its own.
// A pure computation, tested without a window.
struct MapMarkerCluster {
  ui::Point at;                 // in the view: the middle of its members
  std::vector<size_t> members;  // indices into the markers given, in their order
};

class MapMarkerClusters {
 public:
  static constexpr double cell = 24;  // points a side of a square of the grid

  static std::vector<MapMarkerCluster> gather(const std::vector<MapMarker>& markers, const MapViewport& viewport);
};
