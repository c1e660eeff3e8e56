#include "DemoLand.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DemoDatabase.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace fs = std::filesystem;

namespace demoland {
namespace {

// 16 x 16 x 16 block names, indexed (x << 8) | (z << 4) | y.
using Blocks = std::array<std::string, 4096>;

// One layer of palette indices at the narrowest width the game uses for
// the palette's size.
std::string layer(const Blocks& blocks) {
  std::vector<std::string> palette;
  std::map<std::string, uint32_t> index;
  std::array<uint32_t, 4096> indices{};
  for (size_t i = 0; i < blocks.size(); ++i) {
    auto [found, added] = index.emplace(blocks[i], uint32_t(palette.size()));
    if (added) palette.push_back(blocks[i]);
    indices[i] = found->second;
  }
  int bits = 0;
  for (int width : {1, 2, 3, 4, 5, 6, 8, 16}) {
    if (palette.size() > 1 && (size_t(1) << width) >= palette.size()) {
      bits = width;
      break;
    }
  }
  std::string out(1, static_cast<char>(bits << 1));
  if (bits > 0) {
    int perWord = 32 / bits;
    for (int first = 0; first < 4096; first += perWord) {
      uint32_t word = 0;
      for (int slot = 0; slot < perWord && first + slot < 4096; ++slot) word |= indices[first + slot] << (slot * bits);
      appendInt(out, word, 4);
    }
  }
  appendInt(out, uint32_t(palette.size()), 4);
  for (const std::string& name : palette) {
    auto entry = std::make_shared<TBKCompoundTag>("");
    entry->setValueForKey(std::make_shared<TBKStringTag>("name", name));
    entry->setValueForKey(std::make_shared<TBKCompoundTag>("states"));
    entry->setValueForKey(TBKNumberTag::intTag("version", 18100737));
    out += TBKNBT::serialise(*entry);
  }
  return out;
}

// Today's sub-chunk: version 9 carries its index, version 8 does not.
std::string subChunk(int version, int8_t index, const Blocks& blocks) {
  std::string out(1, static_cast<char>(version));
  out += '\x01';
  if (version == 9) out += static_cast<char>(index);
  return out + layer(blocks);
}

constexpr int seaLevel = 62;

}  // namespace

int landHeight(int x, int z) {
  double hills = 5 * std::sin(x / 11.0) + 4 * std::cos(z / 9.0) + 3 * std::sin((x + z) / 23.0);
  double sea = (x + 120) * (x + 120) + (z - 150) * (z - 150) < 700 ? -9 : 0;
  return seaLevel + 2 + int(std::lround(hills + sea));
}

int netherFloor(int x, int z) { return 40 + int(std::lround(6 * std::sin(x / 7.0) + 5 * std::cos(z / 6.0))); }

void writeTodaysLand(const fs::path& world) {
  DemoDatabase db(world);
  // The Overworld: chunks -10 to -1 east-west, 2 to 11 north-south, blocks
  // y 48 to 79 in two sub-chunks (the lower of version 8, the upper of 9).
  for (int cx = -10; cx < 0; ++cx) {
    for (int cz = 2; cz < 12; ++cz) {
      for (int index : {3, 4}) {
        Blocks blocks;
        for (int x = 0; x < 16; ++x) {
          for (int z = 0; z < 16; ++z) {
            int bx = cx * 16 + x, bz = cz * 16 + z;
            int top = landHeight(bx, bz);
            // A house east of the spawn: cobblestone walls, an oak roof.
            bool house = bx >= -58 && bx <= -52 && bz >= 104 && bz <= 110;
            int houseTop = landHeight(-55, 107) + 5;
            for (int y = 0; y < 16; ++y) {
              int by = index * 16 + y;
              std::string& block = blocks[(x << 8) | (z << 4) | y];
              if (house && by > top && by <= houseTop) {
                bool wall = bx == -58 || bx == -52 || bz == 104 || bz == 110;
                block = by == houseTop ? "minecraft:oak_planks" : wall ? "minecraft:cobblestone" : "minecraft:air";
              } else if (by > top) {
                block = by <= seaLevel ? "minecraft:water" : "minecraft:air";
              } else if (by == top) {
                block = top <= seaLevel + 1 ? "minecraft:sand" : "minecraft:grass_block";
              } else {
                block = by > top - 4 ? (top <= seaLevel + 1 ? "minecraft:sand" : "minecraft:dirt") : "minecraft:stone";
              }
            }
          }
        }
        db.put(chunkKey(cx, cz, 0, '\x2f', int8_t(index)), subChunk(index == 4 ? 9 : 8, int8_t(index), blocks));
      }
      db.put(chunkKey(cx, cz, 0, '\x2c'), std::string(1, '\x28'));
    }
  }
  // The Nether under the same place: a cave between y 32 and the roof.
  for (int cx = -7; cx < -1; ++cx) {
    for (int cz = 4; cz < 10; ++cz) {
      for (int index = 2; index < 8; ++index) {
        Blocks blocks;
        for (int x = 0; x < 16; ++x) {
          for (int z = 0; z < 16; ++z) {
            int bx = cx * 16 + x, bz = cz * 16 + z;
            int floor = netherFloor(bx, bz);
            int ceiling = 112 + int(std::lround(4 * std::sin((bx + bz) / 5.0)));
            for (int y = 0; y < 16; ++y) {
              int by = index * 16 + y;
              std::string& block = blocks[(x << 8) | (z << 4) | y];
              if (by >= 127) {
                block = "minecraft:bedrock";
              } else if (by >= ceiling) {
                block = "minecraft:netherrack";
              } else if (by > floor) {
                block = by <= 36 ? "minecraft:lava" : "minecraft:air";
              } else if (by == floor) {
                block = (bx + bz) % 5 == 0 ? "minecraft:soul_sand" : "minecraft:netherrack";
              } else {
                block = "minecraft:netherrack";
              }
            }
          }
        }
        db.put(chunkKey(cx, cz, 1, '\x2f', int8_t(index)), subChunk(9, int8_t(index), blocks));
      }
    }
  }
}

namespace {

// The early game's block numbers.
constexpr uint8_t stone = 1, grass = 2, dirt = 3, log = 17, leaves = 18, water = 9, sand = 12, wool = 35, planks = 5;

struct Numbered {
  uint8_t id = 0, data = 0;
};

// Early land at block (x, y, z): the lake and hills of the early world.
Numbered earlyBlock(int x, int y, int z, int centreX, int centreZ) {
  int dx = x - centreX, dz = z - centreZ;
  int top = 64 + int(std::lround(4 * std::sin(x / 8.0) + 3 * std::cos(z / 10.0)));
  bool lake = (dx - 20) * (dx - 20) + (dz + 10) * (dz + 10) < 200;
  if (lake) top = 58;
  bool house = dx >= -12 && dx <= -6 && dz >= 6 && dz <= 12;
  int houseTop = 70;
  bool tree = (x * 7 + z * 13) % 61 == 0 && !lake && !house;
  if (house && y > top && y <= houseTop) {
    bool wall = dx == -12 || dx == -6 || dz == 6 || dz == 12;
    if (y == houseTop) return {wool, 14};  // a red wool roof
    return wall ? Numbered{planks, 0} : Numbered{};
  }
  if (tree && y > top && y <= top + 4) return {log, 0};
  if (tree && y == top + 5) return {leaves, 0};
  if (y > top) return y <= 62 ? Numbered{water, 0} : Numbered{};
  if (y == top) return top <= 63 ? Numbered{sand, 0} : Numbered{grass, 0};
  return y > top - 3 ? Numbered{dirt, 0} : Numbered{stone, 0};
}

}  // namespace

void writeEarlyWholeChunks(const fs::path& world, int centreX, int centreZ) {
  DemoDatabase db(world);
  int firstX = (centreX >> 4) - 3, firstZ = (centreZ >> 4) - 3;
  for (int cx = firstX; cx < firstX + 6; ++cx) {
    for (int cz = firstZ; cz < firstZ + 6; ++cz) {
      // Blocks and data (x << 11 | z << 7 | y), sky light, block light,
      // 256 heights and 256 biome colours.
      std::string ids(32768, '\0'), data(16384, '\0');
      for (int x = 0; x < 16; ++x) {
        for (int z = 0; z < 16; ++z) {
          for (int y = 0; y < 128; ++y) {
            Numbered block = earlyBlock(cx * 16 + x, y, cz * 16 + z, centreX, centreZ);
            size_t at = (size_t(x) << 11) | (size_t(z) << 7) | size_t(y);
            ids[at] = static_cast<char>(block.id);
            data[at / 2] = static_cast<char>(data[at / 2] | (block.data << (at % 2 * 4)));
          }
        }
      }
      std::string colours;
      for (int i = 0; i < 256; ++i) appendInt(colours, 0xff7cbd6b, 4);
      db.put(chunkKey(cx, cz, 0, '\x30'),
             ids + data + std::string(16384, '\xff') + std::string(16384, '\0') + std::string(256, '\x40') + colours);
    }
  }
}

void writeEarlySubChunks(const fs::path& world, int centreX, int centreZ) {
  DemoDatabase db(world);
  int firstX = (centreX >> 4) - 2, firstZ = (centreZ >> 4) - 2;
  for (int cx = firstX; cx < firstX + 4; ++cx) {
    for (int cz = firstZ; cz < firstZ + 4; ++cz) {
      // The flat world's layers: bedrock, two of dirt, grass at y 3, with
      // wool of every colour in a band across it.
      std::string ids(4096, '\0'), data(2048, '\0');
      for (int x = 0; x < 16; ++x) {
        for (int z = 0; z < 16; ++z) {
          int bz = cz * 16 + z;
          for (int y = 0; y < 4; ++y) {
            size_t at = (size_t(x) << 8) | (size_t(z) << 4) | size_t(y);
            bool band = y == 3 && bz >= centreZ - 4 && bz < centreZ + 4;
            ids[at] = static_cast<char>(y == 0 ? 7 : y < 3 ? dirt : band ? wool : grass);
            if (band) data[at / 2] = static_cast<char>(data[at / 2] | (((cx * 16 + x) / 4 & 15) << (at % 2 * 4)));
          }
        }
      }
      db.put(chunkKey(cx, cz, 0, '\x2f', 0), std::string(1, '\0') + ids + data);
    }
  }
}

}  // namespace demoland
