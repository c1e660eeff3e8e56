#include "Tarnbook/TBKMapShading.h"

#include <algorithm>

namespace {

uint32_t channel(uint32_t colour, int shift) { return (colour >> shift) & 0xff; }

uint32_t opaque(double red, double green, double blue) {
  auto clamp = [](double value) { return static_cast<uint32_t>(std::clamp(value + 0.5, 0.0, 255.0)); };
  return 0xff000000u | clamp(red) << 16 | clamp(green) << 8 | clamp(blue);
}

uint32_t scaled(uint32_t colour, double factor) {
  return opaque(channel(colour, 16) * factor, channel(colour, 8) * factor, channel(colour, 0) * factor);
}

}  // namespace

uint32_t TBKMapShading::colourOf(const TBKChunkSurface::Column& column, std::optional<int> north,
                                 std::optional<int> west) {
  if (!column.found && column.waterDepth == 0) return 0;
  uint32_t below = column.found ? column.colour & 0xffffff : waterColour;
  if (column.waterDepth > 0) {
    int depth = column.waterDepth;
    double cover = std::min(0.95, 0.45 + 0.05 * depth);
    double light = 1.0 - 0.01 * std::min(depth, 30);
    auto mix = [&](int shift) {
      return (channel(below, shift) * (1 - cover) + channel(waterColour, shift) * cover) * light;
    };
    return opaque(mix(16), mix(8), mix(0));
  }
  int slope = 0;
  if (north) slope += column.height - *north;
  if (west) slope += column.height - *west;
  if (slope > 0) return scaled(below, 1.15);
  if (slope < 0) return scaled(below, 0.82);
  return scaled(below, 1.0);
}

void TBKMapShading::paint(const TBKChunkSurface& surface, const TBKChunkSurface* north, const TBKChunkSurface* west,
                          uint32_t* pixels, size_t rowStride) {
  auto heightOf = [](const TBKChunkSurface::Column& column) -> std::optional<int> {
    if (!column.found || column.waterDepth > 0) return std::nullopt;
    return column.height;
  };
  for (int z = 0; z < 16; ++z) {
    for (int x = 0; x < 16; ++x) {
      std::optional<int> above = z > 0   ? heightOf(surface.at(x, z - 1))
                                 : north ? heightOf(north->at(x, 15))
                                         : std::nullopt;
      std::optional<int> left = x > 0  ? heightOf(surface.at(x - 1, z))
                                : west ? heightOf(west->at(15, z))
                                       : std::nullopt;
      pixels[z * rowStride + x] = colourOf(surface.at(x, z), above, left);
    }
  }
}
