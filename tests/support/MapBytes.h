#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The bytes of a world's blocks, written the way the game writes them, for
// the map's tests and benchmarks (and the fuzzer's seeds). Written apart
// from the library's reader. Positions in a sub-chunk are x, y, z from 0 to
// 15; in the early whole chunk y goes to 127.
namespace mapbytes {

struct Block {
  int x, y, z;
  std::string name;
};

// One layer of palette indices `bits` wide (0: the first name fills it):
// every block is names[0] except the ones listed, the palette in the order
// names first, then each new name of blocks as met.
std::string layer(int bits, const std::string& fill, const std::vector<Block>& blocks = {});
// A sub-chunk of version 8 or 9 (with its own index byte) holding layers,
// or version 1 holding the one layer given.
std::string subChunk(int version, const std::vector<std::string>& layers, int8_t index = 0);

struct NumberedBlock {
  int x, y, z;
  uint8_t id, data;
};
// A sub-chunk of the versions 0 and 2 to 7: air everywhere but blocks, then
// light when withLight.
std::string numberedSubChunk(int version, const std::vector<NumberedBlock>& blocks, bool withLight);
// The early game's whole chunk (83,200 bytes): air everywhere but blocks.
std::string legacyTerrain(const std::vector<NumberedBlock>& blocks);

// The key of a chunk's record: dimension 0 (the Overworld) is left out,
// index follows the sub-chunk tag 0x2f only.
std::string chunkKey(int32_t x, int32_t z, int32_t dimension, char tag, int8_t index = 0);

}  // namespace mapbytes
