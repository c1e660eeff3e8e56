#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "map/MapMarkerSource.h"
#include "map/MapTileSource.h"
#include "map/MapViewport.h"
#include "ui/View.h"

// The map itself: the chunks' pictures the source delivers, drawn where the
// viewport puts them, with markers and the block chosen. A drag pans, the
// wheel and + and - zoom, the arrows move; a tap chooses the block under it.
// It keeps the pictures of about the chunks it shows (farther ones are
// dropped), so its memory follows the view, not the world.
class MapView : public ui::View {
 public:
  explicit MapView(const ui::Rect& frame);

  const MapViewport& viewport() const { return viewport_; }
  // Moves and zooms the map; calls viewportChanged.
  void setViewport(const MapViewport& viewport);
  void zoomBy(int steps);
  void panBy(double dx, double dy);  // points

  // Takes a picture delivered for the current zoom; others are dropped.
  void deliver(const MapTileSource::Tile& tile);
  // Forgets every picture (another dimension).
  void clearTiles();
  size_t tileCount() const { return tiles_.size(); }
  // Whether the chunk's picture has arrived (and the game saved the chunk).
  bool hasPicture(int32_t x, int32_t z) const;

  void setMarkers(std::vector<MapMarker> markers);
  const std::vector<MapMarker>& markers() const { return markers_; }
  const std::optional<std::pair<int32_t, int32_t>>& chosenBlock() const { return chosen_; }
  void setChosenBlock(std::optional<std::pair<int32_t, int32_t>> block);

  // Called after every move or zoom, and with the block under a touch and
  // the block a tap chose.
  std::function<void()> viewportChanged;
  std::function<void(int32_t x, int32_t z)> pointed;
  std::function<void(int32_t x, int32_t z)> chose;
  // A tap on a marker that opens a screen (a container, a creature). A tap
  // on several drawn as one zooms in on them instead.
  std::function<void(const MapMarker& marker)> opened;

  void layoutSubviews() override;
  void draw(ui::GraphicsContext& context, const ui::Rect& dirty) override;
  void touchesBegan(const ui::Touch& touch) override;
  void touchesMoved(const ui::Touch& touch) override;
  void touchesEnded(const ui::Touch& touch) override;
  bool scrollWheel(double dx, double dy) override;
  bool performKeyCommand(ui::KeyCommand command) override;

 private:
  struct Cached {
    std::shared_ptr<ui::Image> picture;  // null: nothing saved there
  };
  void dropFarTiles();
  std::pair<int32_t, int32_t> blockUnder(ui::Point point) const;
  void drawMarkers(ui::GraphicsContext& context);
  // Opens the marker or zooms in on the cluster under a tap; false when
  // the tap is nearer no such marker (or nearer the player or the spawn).
  bool tapMarkerAt(ui::Point point);
  std::shared_ptr<ui::Image> pictureOf(const std::string& item);

  MapViewport viewport_;
  std::map<std::pair<int32_t, int32_t>, Cached> tiles_;
  std::vector<MapMarker> markers_;
  std::map<std::string, std::shared_ptr<ui::Image>> pictures_;  // by catalogue name
  std::optional<std::pair<int32_t, int32_t>> chosen_;
  ui::Point touchStart_;
  double startX_ = 0, startZ_ = 0;
  bool dragging_ = false;
};
