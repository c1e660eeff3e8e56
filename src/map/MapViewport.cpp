#include "map/MapViewport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

std::pair<double, double> MapViewport::blockAt(ui::Point point) const {
  return {centreX + (point.x - size.width / 2) / scale(), centreZ + (point.y - size.height / 2) / scale()};
}

ui::Point MapViewport::pointOfBlock(double x, double z) const {
  return {size.width / 2 + (x - centreX) * scale(), size.height / 2 + (z - centreZ) * scale()};
}

ui::Rect MapViewport::rectOfChunk(int32_t x, int32_t z) const {
  ui::Point origin = pointOfBlock(double(x) * 16, double(z) * 16);
  return {origin.x, origin.y, 16 * scale(), 16 * scale()};
}

std::vector<std::pair<int32_t, int32_t>> MapViewport::visibleChunks() const {
  auto [left, top] = blockAt({0, 0});
  auto [right, bottom] = blockAt({size.width, size.height});
  auto chunk = [](double block) {
    return int64_t(std::clamp(std::floor(block / 16), double(INT32_MIN), double(INT32_MAX)));
  };
  int64_t x0 = chunk(left), x1 = chunk(std::nextafter(right, left));
  int64_t z0 = chunk(top), z1 = chunk(std::nextafter(bottom, top));
  double middleX = centreX / 16 - 0.5, middleZ = centreZ / 16 - 0.5;
  std::vector<std::pair<double, std::pair<int32_t, int32_t>>> found;
  for (int64_t x = x0; x <= x1; ++x) {
    for (int64_t z = z0; z <= z1; ++z) {
      double distance = std::hypot(double(x) - middleX, double(z) - middleZ);
      found.push_back({distance, {int32_t(x), int32_t(z)}});
    }
  }
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::pair<int32_t, int32_t>> chunks;
  chunks.reserve(found.size());
  for (const auto& entry : found) chunks.push_back(entry.second);
  return chunks;
}

int MapViewport::tileResolution() const { return std::clamp(int(16 * scale()), 1, 16); }
