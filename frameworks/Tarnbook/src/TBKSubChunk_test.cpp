#include "Tarnbook/TBKSubChunk.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MapBytes.h"
#include "Tarnbook/TBKChunkSurface.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLegacyTerrain.h"
#include "TarnbookTestWorld.h"

// The blocks of every form of sub-chunk the game wrote, read from bytes the
// tests build, and the surface a map takes from them.

using mapbytes::Block;
using mapbytes::NumberedBlock;

namespace {

// Blocks planted on each side of a word's end: the widths 3, 5 and 6 leave
// the top bits of each word unused, so a reader that ignores them goes
// wrong from the first word's end.
TEST(TBKSubChunk, ReadsEveryWidthOfPaletteIndices) {
  struct Case {
    int bits;
    std::vector<Block> planted;
  };
  const std::vector<Case> cases = {
      {1, {{0, 15, 1, "minecraft:sand"}, {0, 0, 2, "minecraft:sand"}, {15, 15, 15, "minecraft:sand"}}},
      {2, {{0, 15, 0, "minecraft:sand"}, {0, 0, 1, "minecraft:dirt"}, {15, 15, 15, "minecraft:gravel"}}},
      {3, {{0, 9, 0, "minecraft:sand"}, {0, 10, 0, "minecraft:dirt"}, {0, 11, 0, "minecraft:gravel"}}},
      {4, {{0, 7, 0, "minecraft:sand"}, {0, 8, 0, "minecraft:dirt"}, {15, 15, 15, "minecraft:clay"}}},
      {5, {{0, 5, 0, "minecraft:sand"}, {0, 6, 0, "minecraft:dirt"}, {3, 2, 9, "minecraft:clay"}}},
      {6, {{0, 4, 0, "minecraft:sand"}, {0, 5, 0, "minecraft:dirt"}, {15, 15, 15, "minecraft:clay"}}},
      {8, {{0, 3, 0, "minecraft:sand"}, {0, 4, 0, "minecraft:dirt"}, {15, 15, 15, "minecraft:clay"}}},
      {16, {{0, 1, 0, "minecraft:sand"}, {0, 2, 0, "minecraft:dirt"}, {15, 15, 15, "minecraft:clay"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    auto read = TBKSubChunk::decode(mapbytes::subChunk(8, {mapbytes::layer(c.bits, "minecraft:stone", c.planted)}));
    ASSERT_EQ(read.layers(), 1u);
    for (const Block& block : c.planted) EXPECT_EQ(read.blockAt(0, block.x, block.y, block.z), block.name);
    EXPECT_EQ(read.blockAt(0, 7, 7, 7), "minecraft:stone");
    EXPECT_EQ(read.ownIndex(), std::nullopt);
  }
}

TEST(TBKSubChunk, ReadsOneBlockLayersVersionOneAndVersionNineBelowZero) {
  auto filled = TBKSubChunk::decode(mapbytes::subChunk(8, {mapbytes::layer(0, "minecraft:sand")}));
  EXPECT_EQ(filled.blockAt(0, 0, 0, 0), "minecraft:sand");
  EXPECT_EQ(filled.blockAt(0, 15, 15, 15), "minecraft:sand");

  auto one =
      TBKSubChunk::decode(mapbytes::subChunk(1, {mapbytes::layer(4, "minecraft:air", {{2, 3, 4, "minecraft:dirt"}})}));
  EXPECT_EQ(one.blockAt(0, 2, 3, 4), "minecraft:dirt");

  auto deep = TBKSubChunk::decode(
      mapbytes::subChunk(9, {mapbytes::layer(1, "minecraft:deepslate", {{5, 6, 7, "minecraft:diamond_ore"}})}, -4));
  EXPECT_EQ(deep.ownIndex(), -4);
  EXPECT_EQ(deep.blockAt(0, 5, 6, 7), "minecraft:diamond_ore");
  EXPECT_EQ(deep.blockAt(0, 5, 7, 7), "minecraft:deepslate");
}

// The early game's numbers, with and without light, named through the
// block table: data picks the variant (red wool), a data value without a
// name of its own takes data 0's (grass), and the low nibble of each data
// byte is the even block's.
TEST(TBKSubChunk, NamesTheNumberedBlocksOfTheOldVersions) {
  const std::vector<NumberedBlock> blocks = {{0, 0, 0, 35, 14}, {0, 1, 0, 35, 1}, {4, 9, 2, 2, 5}, {15, 15, 15, 9, 0}};
  for (int version : {0, 2, 7}) {
    for (bool light : {false, true}) {
      SCOPED_TRACE(version * 2 + light);
      auto read = TBKSubChunk::decode(mapbytes::numberedSubChunk(version, blocks, light));
      EXPECT_EQ(read.blockAt(0, 0, 0, 0), "minecraft:red_wool");
      EXPECT_EQ(read.blockAt(0, 0, 1, 0), "minecraft:orange_wool");
      EXPECT_EQ(read.blockAt(0, 4, 9, 2), "minecraft:grass_block");
      EXPECT_EQ(read.blockAt(0, 15, 15, 15), "minecraft:water");
      EXPECT_EQ(read.blockAt(0, 1, 1, 1), "minecraft:air");
    }
  }
}

TEST(TBKLegacyTerrain, SplitsTheEarlyWholeChunkIntoEightSubChunks) {
  auto read = TBKLegacyTerrain::subChunks(
      mapbytes::legacyTerrain({{3, 70, 5, 2, 0}, {3, 71, 5, 35, 11}, {15, 127, 15, 12, 0}, {0, 0, 0, 7, 0}}));
  ASSERT_EQ(read.size(), 8u);
  EXPECT_EQ(read[4].blockAt(0, 3, 6, 5), "minecraft:grass_block");
  EXPECT_EQ(read[4].blockAt(0, 3, 7, 5), "minecraft:blue_wool");
  EXPECT_EQ(read[7].blockAt(0, 15, 15, 15), "minecraft:sand");
  EXPECT_EQ(read[0].blockAt(0, 0, 0, 0), "minecraft:bedrock");
  EXPECT_EQ(read[4].blockAt(0, 5, 6, 3), "minecraft:air");
}

TEST(TBKSubChunk, RefusesDamagedBytes) {
  std::string good = mapbytes::subChunk(8, {mapbytes::layer(3, "minecraft:stone", {{0, 1, 0, "minecraft:dirt"}})});
  std::string pastPalette = good;
  pastPalette[3] = 0x07;  // the first block's index 7, in a palette of two
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"empty", ""},
      {"cut in the words", good.substr(0, 100)},
      {"cut in the palette", good.substr(0, good.size() - 3)},
      {"seven bits", std::string("\x08\x01\x0e", 3) + std::string(4096, '\0')},
      {"run-time palette", std::string("\x08\x01\x03", 3) + good.substr(3)},
      {"palette of a billion", std::string("\x08\x01\x00\x00\xca\x9a\x3b", 7)},
      {"index past the palette", pastPalette},
      {"a hundred layers", std::string("\x08\x64\x00\x01\x00\x00\x00", 7)},
      {"version ten", std::string("\x0a\x01", 2)},
      {"old form cut", std::string(1, '\0') + std::string(5000, '\x01')},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(tbktest::raisedKind([&] { TBKSubChunk::decode(bytes); }), TBKException::Kind::Format);
  }
  EXPECT_EQ(tbktest::raisedKind([&] { TBKLegacyTerrain::subChunks(std::string(49151, '\x01')); }),
            TBKException::Kind::Format);
}

// Columns of one chunk seen from above, sub-chunks added from the top down:
// water over sand held in the second layer, a column settled in the upper
// sub-chunk, one in the lower, one with nothing, and the Nether's roof.
TEST(TBKChunkSurface, FindsTheTopBlockAndTheWaterOverIt) {
  auto upper = TBKSubChunk::decode(mapbytes::subChunk(
      8, {mapbytes::layer(2, "minecraft:air", {{1, 4, 0, "minecraft:stone"}, {2, 0, 0, "minecraft:stone"}})}));
  std::vector<Block> sand, water;
  for (int y = 0; y < 4; ++y) sand.push_back({0, y, 0, "minecraft:sand"});
  for (int y = 4; y < 10; ++y) water.push_back({0, y, 0, "minecraft:water"});
  auto lower = TBKSubChunk::decode(mapbytes::subChunk(
      9, {mapbytes::layer(2, "minecraft:air", sand), mapbytes::layer(1, "minecraft:air", water)}, 2));
  TBKChunkSurface surface;
  surface.add(upper, 3);
  surface.add(lower, 2);
  EXPECT_FALSE(surface.complete());
  const auto& wet = surface.at(0, 0);
  EXPECT_TRUE(wet.found);
  EXPECT_EQ(wet.height, 35);
  EXPECT_EQ(wet.waterDepth, 6);
  EXPECT_EQ(wet.colour, 0xDBCFA3u);
  EXPECT_EQ(surface.at(1, 0).height, 52);
  EXPECT_EQ(surface.at(1, 0).colour, 0x7D7D7Du);
  EXPECT_EQ(surface.at(2, 0).height, 48);
  EXPECT_FALSE(surface.at(3, 0).found);

  // Under the Nether's roof: bedrock at 127 and netherrack below it are the
  // roof; the floor of the cave under it is what the map shows.
  std::vector<Block> roof = {{0, 15, 0, "minecraft:bedrock"},
                             {0, 14, 0, "minecraft:netherrack"},
                             {0, 13, 0, "minecraft:netherrack"},
                             {0, 9, 0, "minecraft:soul_sand"},
                             {0, 8, 0, "minecraft:netherrack"}};
  TBKChunkSurface nether(TBKChunkSurface::Sky::UnderRoof);
  nether.add(TBKSubChunk::decode(mapbytes::subChunk(8, {mapbytes::layer(4, "minecraft:air", roof)})), 7);
  EXPECT_EQ(nether.at(0, 0).height, 121);
  EXPECT_EQ(nether.at(0, 0).colour, 0x513E32u);
  EXPECT_FALSE(nether.at(1, 0).found);
}

}  // namespace
