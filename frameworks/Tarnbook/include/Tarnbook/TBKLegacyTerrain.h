#pragma once

#include <string_view>
#include <vector>

#include "Tarnbook/TBKSubChunk.h"

// A whole chunk of the early game (tag 0x30): 16 x 128 x 16 numbered
// blocks indexed (x << 11) | (z << 7) | y, then as many data values (a
// nibble each, low nibble first), then sky light, block light, a height map
// and biome colours, which the map has no use for.
class TBKLegacyTerrain {
 public:
  static constexpr int height = 128;

  // The chunk's blocks as the eight sub-chunks from y = 0 up (index 0 to
  // 7). A value too short for the blocks and data raises TBKException
  // (Format).
  static std::vector<TBKSubChunk> subChunks(std::string_view value);
};
