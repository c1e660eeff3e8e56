#include "map/MapMarkerClusters.h"

#include <cmath>
#include <map>
#include <utility>

std::vector<MapMarkerCluster> MapMarkerClusters::gather(const std::vector<MapMarker>& markers,
                                                        const MapViewport& viewport) {
  bool closest = viewport.zoom == MapViewport::scaleCount - 1;
  std::vector<MapMarkerCluster> clusters;
  // The squares are fixed to the world, not to the view, so that a marker
  // does not jump from one to another as the map is dragged.
  std::map<std::pair<int64_t, int64_t>, size_t> squares;
  for (size_t i = 0; i < markers.size(); ++i) {
    const MapMarker& marker = markers[i];
    if (!marker.opens()) continue;
    ui::Point at = viewport.pointOfBlock(marker.x, marker.z);
    if (at.x < -cell || at.y < -cell || at.x > viewport.size.width + cell || at.y > viewport.size.height + cell) {
      continue;
    }
    if (closest) {
      clusters.push_back({at, {i}});
      continue;
    }
    std::pair<int64_t, int64_t> square{int64_t(std::floor(marker.x * viewport.scale() / cell)),
                                       int64_t(std::floor(marker.z * viewport.scale() / cell))};
    auto [found, added] = squares.emplace(square, clusters.size());
    if (added) clusters.push_back({{0, 0}, {}});
    clusters[found->second].members.push_back(i);
  }
  if (closest) return clusters;
  for (MapMarkerCluster& cluster : clusters) {
    double x = 0, z = 0;
    for (size_t i : cluster.members) {
      x += markers[i].x;
      z += markers[i].z;
    }
    cluster.at = viewport.pointOfBlock(x / double(cluster.members.size()), z / double(cluster.members.size()));
  }
  return clusters;
}
