#include "map/MapViewController.h"

#include "GameDatabase.h"
#include "MapBytes.h"
#include "MenuOnScreen.h"
#include "WorldReader.h"

namespace {

const char* const modernFolder = "bW9kZXJuAA==";  // "Modern Survival"

// The map of the demo's world of today, with land the test writes where
// its player stands (block -64, 112 of chunk -4, 7): grass at y 64 in the
// Overworld, netherrack at y 40 in the Nether.
struct MapOnScreen : MenuOnScreen {
  std::shared_ptr<MapViewController> map;

  MapOnScreen() {
    {
      auto db = gamedatabase::open(world(modernFolder) / "db");
      std::vector<mapbytes::Block> grass, rock;
      for (int x = 0; x < 16; ++x) {
        for (int z = 0; z < 16; ++z) {
          grass.push_back({x, 0, z, "minecraft:grass_block"});
          rock.push_back({x, 8, z, "minecraft:netherrack"});
        }
      }
      db->Put({}, mapbytes::chunkKey(-4, 7, 0, '\x2f', 4),
              mapbytes::subChunk(9, {mapbytes::layer(1, "minecraft:air", grass)}, 4));
      db->Put({}, mapbytes::chunkKey(-4, 7, 1, '\x2f', 2),
              mapbytes::subChunk(9, {mapbytes::layer(1, "minecraft:air", rock)}, 2));
    }
    openWorld(modernFolder);
    tapEdit("Map");
    map = top<MapViewController>();
  }

  // Runs the event loop until the worker's picture of the chunk is shown.
  bool waitForChunk(int32_t x, int32_t z) {
    return driver.runUntil([&] { return map->mapView()->hasPicture(x, z); });
  }
  // A tap on the middle of the map: the player's block.
  void tapMiddle() {
    auto view = map->mapView();
    driver.tap(*window, view->convertToWindow({view->bounds().width() / 2, view->bounds().height() / 2}));
  }
};

std::string payloadOf(const std::string& record, const TestTag& root, const char* path) {
  const TestTag* tag = root.find(path);
  return tag ? record.substr(tag->payloadOffset, tag->payloadSize) : "";
}

// The map opens on the player, draws their chunk in each dimension, and
// moves the player and the spawn onto the block tapped, each one write.
TEST(MapScreen, OpensOnThePlayerAndMovesThePlayerAndTheSpawnOntoTheBlockTapped) {
  MapOnScreen s;
  ASSERT_NE(s.map, nullptr);
  EXPECT_EQ(s.map->dimension(), TBKWorldMap::Dimension::Overworld);
  ASSERT_TRUE(s.waitForChunk(-4, 7));
  s.tapMiddle();
  EXPECT_EQ(s.map->coordinatesLabel()->text(), "x -64  z 112");
  s.tap(*s.map->movePlayerButton());
  s.tap(*s.map->setSpawnButton());

  std::string record = worldreader::readDatabaseValue(s.world(modernFolder), "~local_player").value();
  TestTag player = worldreader::parseNBT(record);
  // A list of three floats: -63.5, 66.62 (feet on y 65, eyes 1.62 above), 112.5.
  EXPECT_EQ(payloadOf(record, player, "Pos"),
            std::string("\x05\x03\x00\x00\x00\x00\x00\x7e\xc2\x71\x3d\x85\x42\x00\x00\xe1\x42", 17));
  EXPECT_EQ(player.number("DimensionId"), 0);
  auto level = worldreader::readLevelDat(s.world(modernFolder) / "level.dat").root;
  EXPECT_EQ(level.number("SpawnX"), -64);
  EXPECT_EQ(level.number("SpawnY"), 65);
  EXPECT_EQ(level.number("SpawnZ"), 112);

  s.tapSegment(s.map->dimensionControl(), 1);
  EXPECT_EQ(s.map->dimension(), TBKWorldMap::Dimension::Nether);
  ASSERT_TRUE(s.waitForChunk(-4, 7));
  s.tapMiddle();
  s.tap(*s.map->movePlayerButton());
  player = worldreader::readPlayer(s.world(modernFolder));
  EXPECT_EQ(player.number("DimensionId"), 1);

  int zoom = s.map->mapView()->viewport().zoom;
  s.driver.pressKeys(*s.window, "=");
  EXPECT_EQ(s.map->mapView()->viewport().zoom, zoom + 1);
  s.tap(*s.map->zoomOutButton());
  s.tap(*s.map->zoomOutButton());
  EXPECT_EQ(s.map->mapView()->viewport().zoom, zoom - 1);
}

}  // namespace
