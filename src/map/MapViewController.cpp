#include "map/MapViewController.h"

#include "app/RefusalAlert.h"
#include "containers/ContainerScreen.h"
#include "creatures/CreatureViewController.h"
#include "map/PlayerMarkerSource.h"
#include "records/CreatureRecord.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"

namespace {

std::shared_ptr<TBKCompoundTag> playerOf(TBKLevelDB& db) {
  try {
    return db.player();
  } catch (const TBKException&) {
    return nullptr;  // never played, or damaged: the map still opens
  }
}

std::shared_ptr<TreeRecord> playerRecord(const std::shared_ptr<TBKLevelDB>& db,
                                         const std::shared_ptr<TBKCompoundTag>& player) {
  return player ? TreeRecord::player(db, TBKPlayerEntry::localKey, player) : nullptr;
}

}  // namespace

MapViewController::MapViewController(std::shared_ptr<TBKLevelDB> db)
    : db_(std::move(db)),
      level_(db_->levelData()),
      player_(playerOf(*db_)),
      places_(TreeRecord::level(db_, level_), playerRecord(db_, player_)),
      map_(std::make_shared<TBKWorldMap>(db_->worldFolder(), db_->worldName())),
      players_(std::make_shared<PlayerMarkerSource>(level_, player_)),
      records_(std::make_shared<RecordMarkerSource>(db_)) {
  setTitle("Map");
  setEdgesForExtendedLayout(ui::RectEdge::None);
  // Centred on the player where they stand, else on the spawn.
  start_.centreX = level_->numberForKey("SpawnX").doubleValue() + 0.5;
  start_.centreZ = level_->numberForKey("SpawnZ").doubleValue() + 0.5;
  if (player_) {
    auto dimension = player_->numberForKey("DimensionId").intValue();
    if (dimension >= 0 && dimension <= 2) dimension_ = static_cast<TBKWorldMap::Dimension>(dimension);
    for (const MapMarker& marker : players_->markers(dimension_)) {
      if (marker.kind != MapMarker::Kind::Player) continue;
      start_.centreX = marker.x;
      start_.centreZ = marker.z;
    }
  }
}

MapViewController::~MapViewController() { records_->stop(); }

void MapViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto root = view();
  std::weak_ptr<MapViewController> weakSelf = std::static_pointer_cast<MapViewController>(shared_from_this());
  mapView_ = std::make_shared<MapView>(root->bounds());
  mapView_->viewportChanged = [weakSelf] {
    if (auto self = weakSelf.lock()) self->requestTiles();
  };
  mapView_->pointed = [weakSelf](int32_t x, int32_t z) {
    if (auto self = weakSelf.lock()) self->coordinates_->setText("x " + std::to_string(x) + "  z " + std::to_string(z));
  };
  mapView_->chose = [weakSelf](int32_t x, int32_t z) {
    if (auto self = weakSelf.lock()) self->chose(x, z);
  };
  mapView_->opened = [weakSelf](const MapMarker& marker) {
    if (auto self = weakSelf.lock()) self->open(marker);
  };
  root->addSubview(mapView_);

  dimensionControl_ = std::make_shared<BVLSegmentedControl>(
      ui::Rect(6, 6, 340, 30), std::vector<std::string>{"Overworld", "Nether", "End"},
      [weakSelf](BVLSegmentedControl&, long segment) {
        if (auto self = weakSelf.lock()) self->setDimension(static_cast<TBKWorldMap::Dimension>(segment));
      });
  dimensionControl_->setSelectedSegmentIndex(static_cast<long>(dimension_));
  root->addSubview(dimensionControl_);
  auto zoom = [weakSelf](int steps) {
    return [weakSelf, steps](BVLButton&) {
      if (auto self = weakSelf.lock()) self->mapView_->zoomBy(steps);
    };
  };
  zoomIn_ = std::make_shared<BVLButton>(ui::Rect(0, 6, 30, 30), zoom(1));
  zoomIn_->setTitle("+", ui::ControlState::Normal);
  zoomOut_ = std::make_shared<BVLButton>(ui::Rect(0, 6, 30, 30), zoom(-1));
  zoomOut_->setTitle("-", ui::ControlState::Normal);
  root->addSubview(zoomIn_);
  root->addSubview(zoomOut_);
  coordinates_ = std::make_shared<BVLLabel>(ui::Rect(8, 0, 200, 20));
  root->addSubview(coordinates_);
  unknownNames_ = std::make_shared<BVLLabel>(ui::Rect(8, 0, 300, 14));
  unknownNames_->setStyle(BVLLabel::DetailStyle);
  unknownNames_->setFont(ui::Font::named("Minecraft", 8));
  root->addSubview(unknownNames_);
  auto markerSwitch = [&](const std::string& title, double x) {
    auto label = std::make_shared<BVLLabel>(ui::Rect(x, 44, 74, 20));
    label->setFont(ui::Font::named("Minecraft", 10));
    label->setText(title);
    root->addSubview(label);
    auto control = std::make_shared<BVLSwitch>(ui::Rect(x + 76, 40, 60, 28), [weakSelf](BVLSwitch&, bool) {
      if (auto self = weakSelf.lock()) self->refreshMarkers();
    });
    control->setOn(true);
    root->addSubview(control);
    return control;
  };
  containersSwitch_ = markerSwitch("Containers", 8);
  creaturesSwitch_ = markerSwitch("Creatures", 156);
  movePlayer_ = std::make_shared<BVLButton>(ui::Rect(0, 0, 190, 30), [weakSelf](BVLButton&) {
    if (auto self = weakSelf.lock()) self->movePlayerHere();
  });
  movePlayer_->setTitle("Move the player here", ui::ControlState::Normal);
  setSpawn_ = std::make_shared<BVLButton>(ui::Rect(0, 0, 190, 30), [weakSelf](BVLButton&) {
    if (auto self = weakSelf.lock()) self->setSpawnHere();
  });
  setSpawn_->setTitle("Set the world spawn here", ui::ControlState::Normal);
  for (const auto& button : {movePlayer_, setSpawn_}) {
    button->setFont(ui::Font::named("Minecraft", 10));
    button->setHidden(true);
    root->addSubview(button);
  }
}

void MapViewController::layOut() {
  auto root = view();
  double W = root->bounds().width();
  double H = root->bounds().height();
  mapView_->setFrame(root->bounds());
  zoomIn_->setFrame(ui::Rect(W - 36, 6, 30, 30));
  zoomOut_->setFrame(ui::Rect(W - 70, 6, 30, 30));
  coordinates_->setFrame(ui::Rect(8, H - 24, 200, 20));
  unknownNames_->setFrame(ui::Rect(8, H - 40, W - 220, 14));
  movePlayer_->setFrame(ui::Rect(W - 196, H - 72, 190, 30));
  setSpawn_->setFrame(ui::Rect(W - 196, H - 38, 190, 30));
}

void MapViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  layOut();
  if (!source_) {
    std::weak_ptr<MapViewController> weakSelf = std::static_pointer_cast<MapViewController>(shared_from_this());
    source_ = std::make_unique<MapTileSource>(map_, [weakSelf](const MapTileSource::Tile& tile) {
      if (auto self = weakSelf.lock()) self->deliver(tile);
    });
  }
  start_.size = mapView_->bounds().size;
  start_.zoom = mapView_->viewport().zoom;
  if (mapView_->tileCount() == 0) {
    mapView_->setViewport(start_);
  } else {
    requestTiles();
  }
  refreshMarkers();
  std::weak_ptr<MapViewController> weakSelf = std::static_pointer_cast<MapViewController>(shared_from_this());
  records_->start([weakSelf] {
    if (auto self = weakSelf.lock()) self->refreshMarkers();
  });
}

void MapViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  // The worker ends with the screen on show; it starts again on return.
  start_ = mapView_->viewport();
  source_.reset();
  records_->stop();
}

bool MapViewController::performKeyCommand(ui::KeyCommand command) { return mapView_->performKeyCommand(command); }

void MapViewController::setDimension(TBKWorldMap::Dimension dimension) {
  if (dimension == dimension_) return;
  dimension_ = dimension;
  dimensionControl_->setSelectedSegmentIndex(static_cast<long>(dimension));
  mapView_->clearTiles();
  unknownNamesSeen_.clear();
  unknownNames_->setText("");
  mapView_->setChosenBlock(std::nullopt);
  movePlayer_->setHidden(true);
  setSpawn_->setHidden(true);
  refreshMarkers();
  requestTiles();
}

void MapViewController::requestTiles() {
  if (!source_) return;
  const MapViewport& viewport = mapView_->viewport();
  source_->request(dimension_, viewport.visibleChunks(), viewport.tileResolution());
}

void MapViewController::refreshMarkers() {
  std::vector<MapMarker> markers = players_->markers(dimension_);
  for (MapMarker& marker : records_->markers(dimension_)) {
    bool shown = marker.kind == MapMarker::Kind::Container ? containersSwitch_->isOn() : creaturesSwitch_->isOn();
    if (shown) markers.push_back(std::move(marker));
  }
  mapView_->setMarkers(std::move(markers));
}

void MapViewController::deliver(const MapTileSource::Tile& tile) {
  mapView_->deliver(tile);
  size_t before = unknownNamesSeen_.size();
  unknownNamesSeen_.insert(tile.unknownNames.begin(), tile.unknownNames.end());
  size_t count = unknownNamesSeen_.size();
  if (count == before) return;
  unknownNames_->setText(std::to_string(count) + (count == 1 ? " block name" : " block names") +
                         " unknown to Gorvane, drawn in magenta");
}

void MapViewController::open(const MapMarker& marker) {
  std::shared_ptr<ui::ViewController> screen;
  try {
    if (marker.container) {
      screen = containerScreen(db_, *marker.container);
    } else if (marker.creature) {
      screen = std::make_shared<CreatureViewController>(std::make_shared<CreatureRecord>(db_, marker.creature));
    }
  } catch (const TBKException& error) {
    return showError(error.reason());
  }
  if (auto navigation = navigationController(); screen && navigation) navigation->pushViewController(screen, true);
}

void MapViewController::chose(int32_t x, int32_t z) {
  coordinates_->setText("x " + std::to_string(x) + "  z " + std::to_string(z));
  movePlayer_->setHidden(false);
  setSpawn_->setHidden(dimension_ != TBKWorldMap::Dimension::Overworld);
}

std::optional<int32_t> MapViewController::standingHeight(std::string& why) {
  auto block = mapView_->chosenBlock();
  if (!block) return std::nullopt;
  try {
    auto surface = map_->surface(TBKChunkKey::chunkOf(block->first), TBKChunkKey::chunkOf(block->second), dimension_);
    int localX = block->first - TBKChunkKey::chunkOf(block->first) * 16;
    int localZ = block->second - TBKChunkKey::chunkOf(block->second) * 16;
    if (surface && surface->at(localX, localZ).found) {
      const auto& column = surface->at(localX, localZ);
      return column.height + column.waterDepth;
    }
    why = "The game has saved no ground there to stand on. Choose a place the map shows.";
  } catch (const TBKException& error) {
    why = error.reason();
  }
  return std::nullopt;
}

void MapViewController::movePlayerHere() {
  std::string why;
  auto height = standingHeight(why);
  if (!height) return showError(why);
  auto block = *mapView_->chosenBlock();
  showRefusal(places_.movePlayer(block.first, *height, block.second, static_cast<int32_t>(dimension_)));
  refreshMarkers();
}

void MapViewController::setSpawnHere() {
  std::string why;
  auto height = standingHeight(why);
  if (!height) return showError(why);
  auto block = *mapView_->chosenBlock();
  showRefusal(places_.setSpawn(block.first, *height + 1, block.second));
  refreshMarkers();
}
