#include "Tarnbook/TBKWorldMap.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "PathNames.h"
#include "TBKWorldStore.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLegacyTerrain.h"
#include "Tarnbook/TBKSubChunk.h"

// The block records of one chunk, copied out of the database's walk.
struct TBKWorldMap::Gathered {
  std::vector<std::pair<int8_t, std::string>> subChunks;
  std::optional<std::string> legacyTerrain;

  bool empty() const { return subChunks.empty() && !legacyTerrain; }
  void clear() {
    subChunks.clear();
    legacyTerrain.reset();
  }
  void take(const TBKChunkKey& key, std::string_view value) {
    if (key.tag == TBKChunkKey::Tag::SubChunk) subChunks.emplace_back(key.subChunk, value);
    if (key.tag == TBKChunkKey::Tag::LegacyTerrain) legacyTerrain = std::string(value);
  }
};

namespace {

// Thrown through the database's walk to end it early.
struct WalkStopped {};

std::string chunkPrefix(int32_t x, int32_t z, TBKChunkKey::Dimension dimension) {
  TBKChunkKey key{.x = x, .z = z, .dimension = dimension};
  std::string bytes = key.bytes();
  bytes.pop_back();  // the tag byte
  return bytes;
}

}  // namespace

TBKWorldMap::TBKWorldMap(const std::string& worldFolder, const std::string& worldName)
    : store_(TBKWorldStore::open(tbk::joinPath(worldFolder, "db"), worldName)) {}

TBKWorldMap::~TBKWorldMap() = default;

TBKChunkSurface::Sky TBKWorldMap::skyOf(Dimension dimension) {
  return dimension == Dimension::Nether ? TBKChunkSurface::Sky::UnderRoof : TBKChunkSurface::Sky::Open;
}

std::optional<TBKChunkSurface> TBKWorldMap::surfaceOf(const Gathered& chunk, Dimension dimension) {
  if (chunk.empty()) return std::nullopt;
  TBKChunkSurface surface(skyOf(dimension));
  std::vector<const std::pair<int8_t, std::string>*> order;
  for (const auto& subChunk : chunk.subChunks) order.push_back(&subChunk);
  std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->first > b->first; });
  for (const auto* subChunk : order) {
    if (surface.complete()) break;
    try {
      surface.add(TBKSubChunk::decode(subChunk->second), subChunk->first);
    } catch (const TBKException&) {
      ++damaged_;
    }
  }
  if (chunk.legacyTerrain && !surface.complete()) {
    try {
      auto subChunks = TBKLegacyTerrain::subChunks(*chunk.legacyTerrain);
      for (int index = int(subChunks.size()) - 1; index >= 0; --index) surface.add(subChunks[index], index);
    } catch (const TBKException&) {
      ++damaged_;
    }
  }
  return surface;
}

std::optional<TBKChunkSurface> TBKWorldMap::surface(int32_t x, int32_t z, Dimension dimension) {
  Gathered chunk;
  // The Overworld's prefix also begins the other dimensions' keys of the
  // same chunk: each key says which it is.
  store_->forEachWithPrefix(chunkPrefix(x, z, dimension), [&](std::string_view key, std::string_view value) {
    auto parsed = TBKChunkKey::parse(key);
    if (parsed && parsed->dimension == dimension) chunk.take(*parsed, value);
  });
  return surfaceOf(chunk, dimension);
}

void TBKWorldMap::forEachSurface(Dimension dimension,
                                 const std::function<bool(int32_t, int32_t, const TBKChunkSurface&)>& visit) {
  // A chunk's records lie together in the database's order: its x and z
  // lead every key.
  Gathered chunk;
  int32_t chunkX = 0;
  int32_t chunkZ = 0;
  auto finish = [&]() {
    auto surface = surfaceOf(chunk, dimension);
    chunk.clear();
    if (surface && !visit(chunkX, chunkZ, *surface)) throw WalkStopped();
  };
  try {
    store_->forEachWithPrefix("", [&](std::string_view key, std::string_view value) {
      auto parsed = TBKChunkKey::parse(key);
      if (!parsed || parsed->dimension != dimension) return;
      if (!chunk.empty() && (parsed->x != chunkX || parsed->z != chunkZ)) finish();
      chunkX = parsed->x;
      chunkZ = parsed->z;
      chunk.take(*parsed, value);
    });
    finish();
  } catch (const WalkStopped&) {}
}
