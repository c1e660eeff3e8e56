#pragma once

#include <cstdint>
#include <optional>

#include "Tarnbook/TBKChunkSurface.h"

// The colour a map gives one column (0xAARRGGBB; 0, clear, where nothing
// was found). Land is lit by its slope, so hills read as hills: a column
// higher than its neighbours to the north (z - 1) and west (x - 1) is
// lighter, a lower one darker. Water is drawn over the block below it,
// darker and less clear the deeper it is.
class TBKMapShading {
 public:
  static constexpr uint32_t waterColour = 0x3F76E4;

  // north and west are the neighbours' heights where they were found.
  static uint32_t colourOf(const TBKChunkSurface::Column& column, std::optional<int> north, std::optional<int> west);
  // The chunk's 16 x 16 pixels into pixels, row z at pixels + z * rowStride.
  // north and west are the chunks at z - 1 and x - 1 when they are known
  // (their edge columns light this chunk's edge), else null.
  static void paint(const TBKChunkSurface& surface, const TBKChunkSurface* north, const TBKChunkSurface* west,
                    uint32_t* pixels, size_t rowStride);
};
