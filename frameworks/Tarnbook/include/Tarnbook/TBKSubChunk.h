#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The blocks of one sub-chunk record (tag 0x2f): 16 x 16 x 16 blocks, in one
// or more layers (the second holds the water a block stands in). Positions
// are x, y, z from 0 to 15 within the sub-chunk.
//
// Every version the game wrote is read: 8 and 9 (layers of palette indices
// packed into 32-bit words, 9 adding the sub-chunk's own index byte), 1 (one
// such layer), and 0 and 2 to 7 (numbered blocks and data values, named
// through TBKBlockTable's early names). A layer's palette holds the blocks'
// names only; states are read past.
class TBKSubChunk {
 public:
  // Reads a record's value. Damaged or unknown bytes raise TBKException
  // (Format) saying what is wrong; nothing is allocated beyond what the
  // bytes can fill.
  static TBKSubChunk decode(std::string_view value);
  // A sub-chunk of the early game's numbered blocks: 4096 block ids and
  // 2048 bytes of data values (low nibble first), both indexed
  // (x << 8) | (z << 4) | y.
  static TBKSubChunk numbered(const uint8_t* ids, const uint8_t* data);

  size_t layers() const { return layers_.size(); }
  // The index byte version 9 carries, nullopt for the other versions (their
  // key alone says where they lie).
  std::optional<int8_t> ownIndex() const { return ownIndex_; }
  // The layer's palette (block names) and the palette index of each block,
  // indexed (x << 8) | (z << 4) | y.
  const std::vector<std::string>& palette(size_t layer) const { return layers_[layer].palette; }
  const std::array<uint16_t, 4096>& indices(size_t layer) const { return layers_[layer].indices; }
  const std::string& blockAt(size_t layer, int x, int y, int z) const {
    const Layer& chosen = layers_[layer];
    return chosen.palette[chosen.indices[(x << 8) | (z << 4) | y]];
  }

 private:
  struct Layer {
    std::vector<std::string> palette;
    std::array<uint16_t, 4096> indices{};
  };
  class Reader;

  std::vector<Layer> layers_;
  std::optional<int8_t> ownIndex_;
};
