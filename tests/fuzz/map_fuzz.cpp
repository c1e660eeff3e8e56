// libFuzzer target for the map's readers of a world's blocks: sub-chunks of
// every version and the early whole chunk (an input whose first byte is
// 0x30, its tag, stands for one, the rest padded to a whole chunk's size).
// Beyond not crashing, every block a reader yields must lie in its palette,
// and a surface must settle a column only at a block it was given.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Tarnbook/TBKChunkSurface.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLegacyTerrain.h"
#include "Tarnbook/TBKSubChunk.h"

namespace tbk {
// A few rows of the block table (the library's is compiled from its data
// file by the build, which the fuzz build does without).
std::string_view blockTableData() {
  return "minecraft:air\t-\nminecraft:water\t3F76E4\nminecraft:stone\t7D7D7D\n1\t0\tminecraft:stone\n9\t0\tminecraft:"
         "water\n";
}
}  // namespace tbk

namespace {

// top: the highest y of the sub-chunks added so far, from the lowest index's bottom.
void check(const TBKSubChunk& subChunk, TBKChunkSurface& surface, int index, int top) {
  for (size_t layer = 0; layer < subChunk.layers(); ++layer) {
    for (uint16_t at : subChunk.indices(layer)) {
      if (at >= subChunk.palette(layer).size()) std::abort();
    }
  }
  surface.add(subChunk, index);
  for (int x = 0; x < 16; ++x) {
    const auto& column = surface.at(x, x);
    if (column.found && (column.height < index * 16 || column.height > top)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TBKChunkSurface surface;
  try {
    check(TBKSubChunk::decode(bytes), surface, 4, 79);
  } catch (const TBKException&) {}
  if (size > 0 && data[0] == 0x30) {
    std::string chunk(bytes.substr(1));
    if (chunk.size() < 83200) chunk.resize(83200);
    try {
      auto subChunks = TBKLegacyTerrain::subChunks(chunk);
      TBKChunkSurface whole(TBKChunkSurface::Sky::UnderRoof);
      for (int index = int(subChunks.size()) - 1; index >= 0; --index) check(subChunks[index], whole, index, 126);
    } catch (const TBKException&) {}
  }
  return 0;
}
