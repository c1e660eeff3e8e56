#include "map/MapTileSource.h"

#include <algorithm>

#include "ui/Application.h"

MapTileSource::MapTileSource(std::shared_ptr<TBKWorldMap> map, Delivery delivery)
    : map_(std::move(map)), delivery_(std::make_shared<Delivery>(std::move(delivery))), worker_([this] { run(); }) {}

MapTileSource::~MapTileSource() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    pending_.clear();
  }
  wake_.notify_all();
  worker_.join();
}

void MapTileSource::request(TBKWorldMap::Dimension dimension, std::vector<Position> chunks, int resolution) {
  std::reverse(chunks.begin(), chunks.end());
  {
    std::lock_guard<std::mutex> lock(mutex_);
    dimension_ = dimension;
    pending_ = std::move(chunks);
    resolution_ = resolution;
  }
  wake_.notify_all();
}

void MapTileSource::run() {
  for (;;) {
    TBKWorldMap::Dimension dimension;
    Position chunk;
    int resolution;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || !pending_.empty(); });
      if (stopping_) return;
      chunk = pending_.back();
      pending_.pop_back();
      dimension = dimension_;
      resolution = resolution_;
    }
    Tile tile;
    try {
      tile = paint(dimension, chunk, resolution);
    } catch (const TBKException&) {
      // A database that cannot be read draws nothing there; the map goes on.
      tile = Tile{chunk.first, chunk.second, resolution, nullptr, {}};
    }
    std::weak_ptr<Delivery> delivery = delivery_;
    ui::Application::post([delivery, tile] {
      if (auto deliver = delivery.lock()) (*deliver)(tile);
    });
  }
}

const TBKChunkSurface* MapTileSource::surfaceOf(TBKWorldMap::Dimension dimension, Position chunk) {
  if (dimension != surfacesOf_) {
    surfaces_.clear();
    surfacesOf_ = dimension;
  }
  auto found = surfaces_.find(chunk);
  if (found == surfaces_.end()) {
    // Room is made by dropping the surfaces kept farthest from this one.
    if (surfaces_.size() >= surfaceLimit) {
      auto distance = [&](const Position& p) {
        return std::max(std::abs(int64_t(p.first) - chunk.first), std::abs(int64_t(p.second) - chunk.second));
      };
      std::vector<std::pair<int64_t, Position>> kept;
      for (const auto& [position, surface] : surfaces_) kept.emplace_back(distance(position), position);
      std::sort(kept.begin(), kept.end());
      for (size_t i = surfaceLimit / 2; i < kept.size(); ++i) surfaces_.erase(kept[i].second);
    }
    found = surfaces_.emplace(chunk, map_->surface(chunk.first, chunk.second, dimension)).first;
  }
  return found->second ? &*found->second : nullptr;
}

MapTileSource::Tile MapTileSource::paint(TBKWorldMap::Dimension dimension, Position chunk, int resolution) {
  Tile tile{chunk.first, chunk.second, resolution, nullptr, {}};
  const TBKChunkSurface* surface = surfaceOf(dimension, chunk);
  if (!surface) return tile;
  const TBKChunkSurface* north = surfaceOf(dimension, {chunk.first, chunk.second - 1});
  const TBKChunkSurface* west = surfaceOf(dimension, {chunk.first - 1, chunk.second});
  // Making room drops the surfaces farthest from the one read, never these
  // three, which lie next to one another.
  uint32_t pixels[256];
  TBKMapShading::paint(*surface, north, west, pixels, 16);
  // Zoomed far out a chunk is a few points: one pixel of every step x step.
  int step = 16 / resolution;
  std::vector<uint32_t> sampled(size_t(resolution) * resolution);
  for (int z = 0; z < resolution; ++z) {
    for (int x = 0; x < resolution; ++x) sampled[size_t(z) * resolution + x] = pixels[(z * step) * 16 + x * step];
  }
  tile.picture = ui::Image::fromPixels(resolution, resolution, sampled.data());
  tile.unknownNames = surface->unknownNames();
  return tile;
}
