#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "map/MapMarkerSource.h"

// The containers and creatures of a world as the map marks them, each with
// its picture and what a tap opens. The world is walked on a worker thread
// (its containers, then its entities); what it finds reaches the map on the
// main thread, and a stop cancels the walk at the next record. Each start
// reads afresh, so a container moved or a creature removed on a screen
// opened from the map is marked as it now is on return.
class RecordMarkerSource : public MapMarkerSource, public std::enable_shared_from_this<RecordMarkerSource> {
 public:
  explicit RecordMarkerSource(std::shared_ptr<TBKLevelDB> db);
  ~RecordMarkerSource() override;

  std::vector<MapMarker> markers(TBKWorldMap::Dimension dimension) override;
  void start(std::function<void()> arrived) override;
  void stop() override;
  // Whether a walk is under way (its markers not yet arrived).
  bool reading() const { return reading_; }

  using Found = std::array<std::vector<MapMarker>, 3>;  // by dimension
  // The markers of a listing, each in its record's dimension. Pictures of
  // creatures are left for the main thread, where the catalogue is asked.
  static Found markersOf(const std::vector<ContainerSummary>& containers,
                         const std::vector<std::shared_ptr<TBKEntity>>& entities);

 private:
  std::shared_ptr<TBKLevelDB> db_;
  Found found_;
  bool reading_ = false;
  std::shared_ptr<std::atomic<bool>> cancelled_;
  std::thread worker_;
};
