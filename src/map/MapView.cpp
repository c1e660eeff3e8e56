#include "map/MapView.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "external/Bevel.h"
#include "map/MapMarkerClusters.h"
#include "ui/Font.h"
#include "ui/GraphicsContext.h"

namespace {

// Moves shorter than this are a tap, not a drag.
constexpr double tapSlop = 4;
// A marker's picture sits in a slot of the game's inventory, the same size
// at every zoom so it reads on any ground; a tap this near takes it.
constexpr double slotSide = 20;
constexpr double tapReach = 12;

ui::Color markerColour(MapMarker::Kind kind) {
  switch (kind) {
    case MapMarker::Kind::Player:
      return ui::Color::hex(0xF03C3C);
    case MapMarker::Kind::Spawn:
      return ui::Color::hex(0xF8E04A);
    case MapMarker::Kind::Container:
      return ui::Color::hex(0xB07A3A);
    case MapMarker::Kind::Creature:
      return ui::Color::hex(0x7AD7F0);
  }
  return ui::Color::white(1);
}

}  // namespace

MapView::MapView(const ui::Rect& frame) : ui::View(frame) {
  setBackgroundColor(ui::Color::hex(0x1A1A1A));
  setClipsToBounds(true);
  viewport_.size = frame.size;
}

void MapView::setViewport(const MapViewport& viewport) {
  int resolution = viewport_.tileResolution();
  viewport_ = viewport;
  viewport_.size = bounds().size;
  // Pictures of another zoom have another resolution.
  if (viewport_.tileResolution() != resolution) tiles_.clear();
  dropFarTiles();
  setNeedsDisplay();
  if (viewportChanged) viewportChanged();
}

void MapView::zoomBy(int steps) {
  MapViewport next = viewport_;
  next.zoom = std::clamp(viewport_.zoom + steps, 0, MapViewport::scaleCount - 1);
  if (next.zoom != viewport_.zoom) setViewport(next);
}

void MapView::panBy(double dx, double dy) {
  MapViewport next = viewport_;
  next.centreX += dx / viewport_.scale();
  next.centreZ += dy / viewport_.scale();
  setViewport(next);
}

void MapView::deliver(const MapTileSource::Tile& tile) {
  if (tile.resolution != viewport_.tileResolution()) return;
  tiles_[{tile.x, tile.z}] = Cached{tile.picture};
  if (tile.picture) setNeedsDisplay();
}

bool MapView::hasPicture(int32_t x, int32_t z) const {
  auto found = tiles_.find({x, z});
  return found != tiles_.end() && found->second.picture;
}

void MapView::clearTiles() {
  tiles_.clear();
  setNeedsDisplay();
}

void MapView::dropFarTiles() {
  // Room for what the view shows twice over (a drag's worth either way).
  size_t shown = viewport_.visibleChunks().size();
  size_t limit = std::max<size_t>(1024, shown * 2);
  if (tiles_.size() <= limit) return;
  std::vector<std::pair<double, std::pair<int32_t, int32_t>>> far;
  double middleX = viewport_.centreX / 16, middleZ = viewport_.centreZ / 16;
  for (const auto& [position, cached] : tiles_) {
    far.push_back({std::hypot(position.first + 0.5 - middleX, position.second + 0.5 - middleZ), position});
  }
  std::sort(far.begin(), far.end());
  for (size_t i = limit * 3 / 4; i < far.size(); ++i) tiles_.erase(far[i].second);
}

void MapView::setMarkers(std::vector<MapMarker> markers) {
  markers_ = std::move(markers);
  setNeedsDisplay();
}

void MapView::setChosenBlock(std::optional<std::pair<int32_t, int32_t>> block) {
  chosen_ = block;
  setNeedsDisplay();
}

void MapView::layoutSubviews() {
  if (viewport_.size.width == bounds().size.width && viewport_.size.height == bounds().size.height) return;
  setViewport(viewport_);
}

void MapView::draw(ui::GraphicsContext& context, const ui::Rect&) {
  for (const auto& position : viewport_.visibleChunks()) {
    auto found = tiles_.find(position);
    if (found == tiles_.end() || !found->second.picture) continue;
    context.drawImage(*found->second.picture, viewport_.rectOfChunk(position.first, position.second));
  }
  if (chosen_) {
    ui::Point corner = viewport_.pointOfBlock(chosen_->first, chosen_->second);
    double side = std::max(4.0, viewport_.scale());
    double inset = (side - viewport_.scale()) / 2;
    context.strokeRect({corner.x - inset, corner.y - inset, side, side}, ui::Color::white(1), 1);
  }
  drawMarkers(context);
}

std::shared_ptr<ui::Image> MapView::pictureOf(const std::string& item) {
  auto found = pictures_.find(item);
  if (found != pictures_.end()) return found->second;
  auto catalogue = BVLItemIDSource::sharedSource();
  auto picture = item.empty() ? nullptr : catalogue->basicImageForItemWithName(item);
  return pictures_[item] = picture ? picture : catalogue->genericItemImage();
}

void MapView::drawMarkers(ui::GraphicsContext& context) {
  static const ui::Font countFont = ui::Font::named("Minecraft", 8);
  for (const MapMarkerCluster& cluster : MapMarkerClusters::gather(markers_, viewport_)) {
    const MapMarker& first = markers_[cluster.members.front()];
    ui::Rect slot{cluster.at.x - slotSide / 2, cluster.at.y - slotSide / 2, slotSide, slotSide};
    // The slot's bevel: dark above and left, light below and right.
    context.fillRect(slot, ui::Color::hex(0x373737));
    context.fillRect({slot.x() + 1, slot.y() + 1, slotSide - 1, slotSide - 1}, ui::Color::white(1));
    context.fillRect({slot.x() + 1, slot.y() + 1, slotSide - 2, slotSide - 2}, ui::Color::hex(0x8B8B8B));
    context.strokeRect(slot, markerColour(first.kind), 1);
    context.drawImage(*pictureOf(first.picture), {slot.x() + 2, slot.y() + 2, slotSide - 4, slotSide - 4});
    if (cluster.members.size() > 1) {
      // A count as the game writes a stack's: white, shadowed, bottom right.
      std::string count = cluster.members.size() > 999 ? "999+" : std::to_string(cluster.members.size());
      ui::Rect text{slot.x() - 4, slot.maxY() - 9, slotSide + 4, 10};
      context.drawText(count, {text.x() + 1, text.y() + 1, text.width(), text.height()}, countFont,
                       ui::Color::hex(0x3F3F3F), ui::TextAlignment::Right);
      context.drawText(count, text, countFont, ui::Color::white(1), ui::TextAlignment::Right);
    }
  }
  // The player and the spawn, few and always on top.
  for (const MapMarker& marker : markers_) {
    if (marker.opens()) continue;
    ui::Point at = viewport_.pointOfBlock(marker.x, marker.z);
    ui::Rect dot{at.x - 4, at.y - 4, 8, 8};
    context.fillRect(dot, markerColour(marker.kind));
    context.strokeRect(dot, ui::Color::black(), 1);
  }
}

bool MapView::tapMarkerAt(ui::Point point) {
  auto distance = [&](ui::Point at) { return std::hypot(at.x - point.x, at.y - point.y); };
  double nearest = tapReach;
  for (const MapMarker& marker : markers_) {
    if (!marker.opens()) nearest = std::min(nearest, distance(viewport_.pointOfBlock(marker.x, marker.z)));
  }
  const MapMarkerCluster* tapped = nullptr;
  auto clusters = MapMarkerClusters::gather(markers_, viewport_);
  for (const MapMarkerCluster& cluster : clusters) {
    if (distance(cluster.at) < nearest) {
      nearest = distance(cluster.at);
      tapped = &cluster;
    }
  }
  if (!tapped) return false;
  if (tapped->members.size() == 1) {
    if (opened) opened(markers_[tapped->members.front()]);
    return true;
  }
  MapViewport next = viewport_;
  std::tie(next.centreX, next.centreZ) = viewport_.blockAt(tapped->at);
  next.zoom = std::min(viewport_.zoom + 2, MapViewport::scaleCount - 1);
  setViewport(next);
  return true;
}

std::pair<int32_t, int32_t> MapView::blockUnder(ui::Point point) const {
  auto [x, z] = viewport_.blockAt(point);
  auto clamp = [](double block) {
    return int32_t(std::clamp(std::floor(block), double(INT32_MIN), double(INT32_MAX)));
  };
  return {clamp(x), clamp(z)};
}

void MapView::touchesBegan(const ui::Touch& touch) {
  touchStart_ = touch.location(*this);
  startX_ = viewport_.centreX;
  startZ_ = viewport_.centreZ;
  dragging_ = false;
  auto [x, z] = blockUnder(touchStart_);
  if (pointed) pointed(x, z);
}

void MapView::touchesMoved(const ui::Touch& touch) {
  ui::Point now = touch.location(*this);
  double dx = now.x - touchStart_.x, dy = now.y - touchStart_.y;
  if (!dragging_ && std::hypot(dx, dy) < tapSlop) return;
  dragging_ = true;
  MapViewport next = viewport_;
  next.centreX = startX_ - dx / viewport_.scale();
  next.centreZ = startZ_ - dy / viewport_.scale();
  setViewport(next);
  auto [x, z] = blockUnder(now);
  if (pointed) pointed(x, z);
}

void MapView::touchesEnded(const ui::Touch& touch) {
  if (dragging_ || tapMarkerAt(touch.location(*this))) return;
  auto [x, z] = blockUnder(touch.location(*this));
  setChosenBlock(std::pair{x, z});
  if (chose) chose(x, z);
}

bool MapView::scrollWheel(double, double dy) {
  if (dy == 0) return true;
  zoomBy(dy < 0 ? 1 : -1);
  return true;
}

bool MapView::performKeyCommand(ui::KeyCommand command) {
  constexpr double step = 32;  // points an arrow moves
  switch (command) {
    case ui::KeyCommand::LineUp:
      panBy(0, -step);
      return true;
    case ui::KeyCommand::LineDown:
      panBy(0, step);
      return true;
    case ui::KeyCommand::LineLeft:
      panBy(-step, 0);
      return true;
    case ui::KeyCommand::LineRight:
      panBy(step, 0);
      return true;
    case ui::KeyCommand::ZoomIn:
      zoomBy(1);
      return true;
    case ui::KeyCommand::ZoomOut:
      zoomBy(-1);
      return true;
    default:
      return false;
  }
}
