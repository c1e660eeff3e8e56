#include "Tarnbook/TBKLegacyTerrain.h"

#include <array>
#include <cstdint>

#include "Tarnbook/TBKException.h"

std::vector<TBKSubChunk> TBKLegacyTerrain::subChunks(std::string_view value) {
  constexpr size_t blocks = 16 * 16 * height;
  if (value.size() < blocks + blocks / 2) {
    throw TBKException(TBKException::Kind::Format, "A chunk of the world is damaged: its blocks run past its end.");
  }
  const auto* ids = reinterpret_cast<const uint8_t*>(value.data());
  const uint8_t* data = ids + blocks;
  std::vector<TBKSubChunk> made;
  made.reserve(height / 16);
  std::array<uint8_t, 4096> subIds;
  std::array<uint8_t, 2048> subData;
  for (int index = 0; index < height / 16; ++index) {
    subData.fill(0);
    for (int x = 0; x < 16; ++x) {
      for (int z = 0; z < 16; ++z) {
        for (int y = 0; y < 16; ++y) {
          size_t from = (size_t(x) << 11) | (size_t(z) << 7) | size_t(index * 16 + y);
          size_t to = (size_t(x) << 8) | (size_t(z) << 4) | size_t(y);
          subIds[to] = ids[from];
          uint8_t nibble = (data[from >> 1] >> ((from & 1) * 4)) & 0xf;
          subData[to >> 1] |= static_cast<uint8_t>(nibble << ((to & 1) * 4));
        }
      }
    }
    made.push_back(TBKSubChunk::numbered(subIds.data(), subData.data()));
  }
  return made;
}
