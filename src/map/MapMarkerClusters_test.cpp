#include "map/MapMarkerClusters.h"

#include <gtest/gtest.h>

namespace {

// Markers that open a screen are gathered by the view's 24-point squares,
// drawn at their middle; the closest zoom draws each alone; the player and
// markers far outside the view are left out.
TEST(MapMarkerClusters, GathersNearMarkersByTheSquareTheyFallIn) {
  auto chest = std::make_shared<const ContainerSummary>();
  auto at = [&](double x, double z) { return MapMarker{MapMarker::Kind::Container, x, z, "", "", chest, nullptr}; };
  std::vector<MapMarker> markers{at(1, 2), at(5, 2), {MapMarker::Kind::Player, 2, 2}, at(30, 2), at(900, 2)};
  MapViewport viewport;
  viewport.size = {200, 100};  // 1 point a block: blocks -100 to 100 across

  struct Case {
    int zoom;
    std::vector<std::vector<size_t>> members;
    ui::Point first;
  } cases[] = {
      {4, {{0, 1}, {3}}, {103, 52}},
      {7, {{0}, {1}}, {108, 66}},
  };
  for (const Case& c : cases) {
    viewport.zoom = c.zoom;
    auto clusters = MapMarkerClusters::gather(markers, viewport);
    ASSERT_EQ(clusters.size(), c.members.size()) << "zoom " << c.zoom;
    for (size_t i = 0; i < clusters.size(); ++i) EXPECT_EQ(clusters[i].members, c.members[i]);
    EXPECT_EQ(clusters[0].at.x, c.first.x);
    EXPECT_EQ(clusters[0].at.y, c.first.y);
  }
}

}  // namespace
