#include <QImage>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Commands.h"
#include "GameDatabase.h"
#include "MapBytes.h"
#include "TarnbookTestWorld.h"

// The command line's map of a world the test writes, read back as a
// picture by Qt: the chunks' places in the picture, the light of a hill
// across a chunk's edge, and the dimension asked for.

namespace {

struct Outcome {
  int status;
  std::string out, err;
};

Outcome run(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int status = mapCommand(args, out, err);
  return {status, out.str(), err.str()};
}

class MapCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(world + "/db");
    auto db = gamedatabase::open(world + "/db", 0, true);
    auto grassAt = [](int x, int y) {
      return mapbytes::subChunk(8, {mapbytes::layer(1, "minecraft:air", {{x, y, 8, "minecraft:grass_block"}})});
    };
    // Grass at y 64 in the east column of chunk (0, 0), at y 65 just east
    // of it in chunk (1, 0), so the second is lit; sand in chunk (1, -1).
    // The grass lies at z = 8, away from the sand to its north.
    db->Put({}, mapbytes::chunkKey(0, 0, 0, '\x2f', 4), grassAt(15, 0));
    db->Put({}, mapbytes::chunkKey(1, 0, 0, '\x2f', 4), grassAt(0, 1));
    db->Put({}, mapbytes::chunkKey(1, -1, 0, '\x2f', 4), mapbytes::subChunk(8, {mapbytes::layer(0, "minecraft:sand")}));
    db->Put({}, mapbytes::chunkKey(0, 0, 1, '\x2f', 2),
            mapbytes::subChunk(8, {mapbytes::layer(1, "minecraft:air", {{0, 0, 0, "minecraft:netherrack"}})}));
    db->Put({}, mapbytes::chunkKey(-2000000, 0, 2, '\x2f', 2), grassAt(0, 0));
    db->Put({}, mapbytes::chunkKey(2000000, 0, 2, '\x2f', 2), grassAt(0, 0));
  }

  tbktest::TemporaryFolder folder;
  std::string world = folder.path() + "/World";
  std::string png = folder.path() + "/map.png";
};

TEST_F(MapCommandTest, DrawsEverySavedChunkOfTheDimensionAsked) {
  Outcome overworld = run({world, "--png", png});
  ASSERT_EQ(overworld.status, 0) << overworld.err;
  EXPECT_NE(overworld.out.find("Drew 3 chunks"), std::string::npos) << overworld.out;
  QImage picture(QString::fromStdString(png));
  ASSERT_EQ(picture.size(), QSize(32, 32));
  EXPECT_EQ(picture.pixel(15, 24), 0xFF6EA040u);  // block (15, 8)
  EXPECT_EQ(picture.pixel(16, 24), 0xFF7EB84Au);  // block (16, 8), a step up from its west
  EXPECT_EQ(picture.pixel(31, 0), 0xFFDBCFA3u);   // block (31, -16)
  EXPECT_EQ(picture.pixel(0, 0), 0x00000000u);    // chunk (0, -1) was never saved
  EXPECT_EQ(picture.pixel(0, 16), 0x00000000u);   // air all the way down

  Outcome nether = run({world, "--dimension", "nether", "--png", png});
  ASSERT_EQ(nether.status, 0) << nether.err;
  picture = QImage(QString::fromStdString(png));
  ASSERT_EQ(picture.size(), QSize(16, 16));
  EXPECT_EQ(picture.pixel(0, 0), 0xFF6F3533u);
}

TEST_F(MapCommandTest, RefusesWhatItCannotDraw) {
  const std::vector<std::vector<std::string>> cases = {
      {world, "--dimension", "moon", "--png", png},
      {world},
      {world, "--dimension", "end", "--png", png},  // chunks 4,000,000 apart
      {folder.path() + "/None", "--png", png},
  };
  for (const auto& args : cases) {
    Outcome refused = run(args);
    EXPECT_EQ(refused.status, 1) << args.size();
    EXPECT_FALSE(refused.err.empty());
    EXPECT_FALSE(std::filesystem::exists(png));
  }
}

}  // namespace
