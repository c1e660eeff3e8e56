#include "Tarnbook/TBKWorldMap.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GameDatabase.h"
#include "MapBytes.h"
#include "Tarnbook/TBKBlockTable.h"
#include "Tarnbook/TBKMapShading.h"
#include "TarnbookTestWorld.h"

// A world the test writes with a few known blocks, in every form and
// dimension, and the map's pixels at those places.

using mapbytes::Block;

namespace {

void writeBlocks(const std::string& worldFolder) {
  std::filesystem::create_directories(worldFolder + "/db");
  auto db = gamedatabase::open(worldFolder + "/db", 0, true);
  auto put = [&](const std::string& k, const std::string& v) { ASSERT_TRUE(db->Put({}, k, v).ok()); };
  // Chunk (0, 0), y 64 to 79: grass at 64 and, east of it, at 65; water
  // two deep over sand; a block the table does not know.
  put(mapbytes::chunkKey(0, 0, 0, '\x2c'), "\x28");
  put(mapbytes::chunkKey(0, 0, 0, '\x2f', 4),
      mapbytes::subChunk(8, {mapbytes::layer(3, "minecraft:air",
                                             {{0, 0, 0, "minecraft:grass_block"},
                                              {1, 1, 0, "minecraft:grass_block"},
                                              {2, 0, 0, "minecraft:sand"},
                                              {2, 1, 0, "minecraft:water"},
                                              {2, 2, 0, "minecraft:water"},
                                              {3, 0, 0, "minecraft:not_a_block"}})}));
  // The Nether's chunk (0, 0): its roof over netherrack at y 120.
  put(mapbytes::chunkKey(0, 0, 1, '\x2f', 7), mapbytes::subChunk(9,
                                                                 {mapbytes::layer(2, "minecraft:air",
                                                                                  {{0, 15, 0, "minecraft:bedrock"},
                                                                                   {0, 14, 0, "minecraft:netherrack"},
                                                                                   {0, 8, 0, "minecraft:netherrack"}})},
                                                                 7));
  // Chunk (-1, -1), below zero: deepslate at y -61 in its south-east column.
  put(mapbytes::chunkKey(-1, -1, 0, '\x2f', -4),
      mapbytes::subChunk(9, {mapbytes::layer(1, "minecraft:air", {{15, 3, 15, "minecraft:deepslate"}})}, -4));
  // Chunk (2, 0) of the early game: sand at y 62.
  put(mapbytes::chunkKey(2, 0, 0, '\x30'), mapbytes::legacyTerrain({{0, 62, 0, 12, 0}}));
}

TEST(TBKWorldMap, DrawsTheKnownBlocksOfEachFormAndDimension) {
  tbktest::TemporaryFolder folder;
  writeBlocks(folder.path());
  TBKWorldMap map(folder.path(), "Blocks");

  struct Pixel {
    int chunkX, chunkZ, x, z;
    uint32_t colour;
  };
  struct Case {
    TBKWorldMap::Dimension dimension;
    std::vector<std::pair<int, int>> chunks;  // in the database's order
    std::vector<Pixel> pixels;
  };
  const std::vector<Case> cases = {
      {TBKWorldMap::Dimension::Overworld,
       {{0, 0}, {2, 0}, {-1, -1}},
       {{0, 0, 0, 0, 0xFF6EA040},
        {0, 0, 1, 0, 0xFF7EB84A},  // higher than its west: lit
        {0, 0, 2, 0, 0xFF839BC3},  // water two deep over sand
        {0, 0, 3, 0, 0xFFFF00DC},  // not known
        {0, 0, 4, 0, 0x00000000},  // nothing there
        {2, 0, 0, 0, 0xFFDBCFA3},
        {-1, -1, 15, 15, 0xFF505052}}},
      {TBKWorldMap::Dimension::Nether, {{0, 0}}, {{0, 0, 0, 0, 0xFF6F3533}}},
      {TBKWorldMap::Dimension::End, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.dimension));
    std::vector<std::pair<int, int>> walked;
    map.forEachSurface(c.dimension, [&](int32_t x, int32_t z, const TBKChunkSurface&) {
      walked.emplace_back(x, z);
      return true;
    });
    EXPECT_EQ(walked, c.chunks);
    for (const Pixel& pixel : c.pixels) {
      auto surface = map.surface(pixel.chunkX, pixel.chunkZ, c.dimension);
      ASSERT_TRUE(surface);
      uint32_t pixels[256];
      TBKMapShading::paint(*surface, nullptr, nullptr, pixels, 16);
      EXPECT_EQ(pixels[pixel.z * 16 + pixel.x], pixel.colour) << pixel.chunkX << "," << pixel.chunkZ;
    }
  }
  EXPECT_EQ(map.surface(0, 0, TBKWorldMap::Dimension::Overworld)->unknownNames(),
            std::vector<std::string>{"minecraft:not_a_block"});
  EXPECT_FALSE(map.surface(5, 5, TBKWorldMap::Dimension::Overworld));
  EXPECT_EQ(map.damagedRecords(), 0);
}

}  // namespace
