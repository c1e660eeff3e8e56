#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TBKSubChunk;

// What a map shows of one chunk: for each of its 256 columns, the top block
// seen from above and the water over it. Sub-chunks are added from the top
// down; a column is settled by the first block the map does not see
// through, so the lower sub-chunks are needed only while some column is
// still open (complete() says when none is).
class TBKChunkSurface {
 public:
  // Open: the sky is above (the Overworld, the End). UnderRoof: the
  // Nether, whose bedrock roof would hide everything: only blocks below
  // y = roofHeight that have air (or the like) above them are seen.
  enum class Sky { Open, UnderRoof };
  static constexpr int roofHeight = 127;

  struct Column {
    uint32_t colour = 0;     // TBKBlockTable's colour and flags of the top block
    int16_t height = 0;      // the top block's y
    uint8_t waterDepth = 0;  // blocks of water above it, at most 255
    bool found = false;      // false: nothing but air (or nothing saved) here
  };

  explicit TBKChunkSurface(Sky sky = Sky::Open);

  // Adds the blocks of subChunk, lying at y = index * 16 to index * 16 + 15.
  // Sub-chunks must come from the highest index down.
  void add(const TBKSubChunk& subChunk, int index);
  bool complete() const { return open_ == 0; }

  // Column of block (x, z) of the chunk, both 0 to 15.
  const Column& at(int x, int z) const { return columns_[(z << 4) | x]; }
  // Block names the table lacks, each once, as they were met.
  const std::vector<std::string>& unknownNames() const { return unknownNames_; }

 private:
  struct Scan {
    bool seenAir = true;  // an air-like block lies above: what follows is seen
  };

  std::array<Column, 256> columns_;
  std::array<Scan, 256> scans_;
  int open_ = 256;
  Sky sky_;
  std::vector<std::string> unknownNames_;
};
