#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "map/MapMarkerSource.h"
#include "map/MapTileSource.h"
#include "map/MapView.h"
#include "map/RecordMarkerSource.h"
#include "records/MapPlaces.h"
#include "ui/ViewController.h"

// The map of one world: every saved chunk from above, opened centred on the
// local player in their dimension, drawn outward as a worker reads it.
// Overworld, Nether and End above; + and - to zoom; the coordinates of the
// block last touched below, and for a block chosen by a tap, "Move the
// player here" and "Set the world spawn here", each one write through the
// records layer (a refusal is shown and the map stays as stored). The
// world's containers and creatures are marked as a worker finds them (each
// kind switched on or off); a tap on one opens its screen. Block names the
// colour table lacks are counted under the map.
class MapViewController : public ui::ViewController {
 public:
  // Reads the level tree and the local player's; raises the library's
  // TBKException when the world cannot be opened. A world without a player
  // record still opens, centred on its spawn.
  explicit MapViewController(std::shared_ptr<TBKLevelDB> db);
  ~MapViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool performKeyCommand(ui::KeyCommand command) override;

  TBKWorldMap::Dimension dimension() const { return dimension_; }
  void setDimension(TBKWorldMap::Dimension dimension);
  // Opens the container's or the creature's screen, as a tap on it does.
  void open(const MapMarker& marker);

  std::shared_ptr<MapView> mapView() const { return mapView_; }
  std::shared_ptr<BVLSegmentedControl> dimensionControl() const { return dimensionControl_; }
  std::shared_ptr<BVLButton> zoomInButton() const { return zoomIn_; }
  std::shared_ptr<BVLButton> zoomOutButton() const { return zoomOut_; }
  std::shared_ptr<BVLLabel> coordinatesLabel() const { return coordinates_; }
  std::shared_ptr<BVLButton> movePlayerButton() const { return movePlayer_; }
  std::shared_ptr<BVLButton> setSpawnButton() const { return setSpawn_; }
  std::shared_ptr<BVLSwitch> containersSwitch() const { return containersSwitch_; }
  std::shared_ptr<BVLSwitch> creaturesSwitch() const { return creaturesSwitch_; }
  std::shared_ptr<BVLLabel> unknownNamesLabel() const { return unknownNames_; }
  // Whether the containers and creatures are still being read.
  bool readingMarkers() const { return records_->reading(); }

 private:
  void layOut();
  void requestTiles();
  void refreshMarkers();
  void deliver(const MapTileSource::Tile& tile);
  void chose(int32_t x, int32_t z);
  // The top block of the chosen column and the water over it, or a reason
  // why the player cannot stand there.
  std::optional<int32_t> standingHeight(std::string& why);
  void movePlayerHere();
  void setSpawnHere();

  std::shared_ptr<TBKLevelDB> db_;
  std::shared_ptr<TBKCompoundTag> level_;
  std::shared_ptr<TBKCompoundTag> player_;
  MapPlaces places_;
  std::shared_ptr<TBKWorldMap> map_;
  std::unique_ptr<MapTileSource> source_;
  std::shared_ptr<MapMarkerSource> players_;
  std::shared_ptr<RecordMarkerSource> records_;
  std::set<std::string> unknownNamesSeen_;  // in the dimension shown
  TBKWorldMap::Dimension dimension_ = TBKWorldMap::Dimension::Overworld;
  MapViewport start_;

  std::shared_ptr<MapView> mapView_;
  std::shared_ptr<BVLSegmentedControl> dimensionControl_;
  std::shared_ptr<BVLButton> zoomIn_, zoomOut_;
  std::shared_ptr<BVLLabel> coordinates_;
  std::shared_ptr<BVLButton> movePlayer_, setSpawn_;
  std::shared_ptr<BVLSwitch> containersSwitch_, creaturesSwitch_;
  std::shared_ptr<BVLLabel> unknownNames_;
};
