#include "Tarnbook/TBKChunkSurface.h"

#include <algorithm>

#include "Tarnbook/TBKBlockTable.h"
#include "Tarnbook/TBKSubChunk.h"

TBKChunkSurface::TBKChunkSurface(Sky sky) : sky_(sky) {
  // Under a roof the scan starts inside solid rock: a block is seen only
  // once air lies above it.
  if (sky == Sky::UnderRoof) {
    for (Scan& scan : scans_) scan.seenAir = false;
  }
}

void TBKChunkSurface::add(const TBKSubChunk& subChunk, int index) {
  if (complete() || subChunk.layers() == 0) return;
  const TBKBlockTable& table = TBKBlockTable::shared();
  // Colours of each layer's palette, looked up once per sub-chunk.
  std::vector<uint32_t> colours[2];
  size_t layers = std::min<size_t>(subChunk.layers(), 2);
  for (size_t layer = 0; layer < layers; ++layer) {
    for (const std::string& name : subChunk.palette(layer)) {
      uint32_t colour = table.colourOf(name);
      if ((colour & TBKBlockTable::unknown) &&
          std::find(unknownNames_.begin(), unknownNames_.end(), name) == unknownNames_.end()) {
        unknownNames_.push_back(name);
      }
      colours[layer].push_back(colour);
    }
  }
  int bottom = index * 16;
  int top = bottom + 15;
  if (sky_ == Sky::UnderRoof) top = std::min(top, roofHeight - 1);
  for (int column = 0; column < 256; ++column) {
    Column& result = columns_[column];
    if (result.found) continue;
    Scan& scan = scans_[column];
    int base = ((column & 15) << 8) | ((column >> 4) << 4);
    for (int y = top - bottom; y >= 0; --y) {
      uint32_t colour = colours[0][subChunk.indices(0)[base | y]];
      // The second layer holds the water a block stands in: where the first
      // has nothing to show, that water is what is there.
      if (layers > 1 && (colour & TBKBlockTable::seeThrough)) colour = colours[1][subChunk.indices(1)[base | y]];
      if (colour & TBKBlockTable::seeThrough) {
        scan.seenAir = true;
      } else if (!scan.seenAir) {
        // Still inside the roof.
      } else if (colour & TBKBlockTable::water) {
        if (result.waterDepth < 255) ++result.waterDepth;
      } else {
        result.colour = colour;
        result.height = static_cast<int16_t>(bottom + y);
        result.found = true;
        --open_;
        break;
      }
    }
  }
}
