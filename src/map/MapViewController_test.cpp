#include "map/MapViewController.h"

#include "ContainerWorld.h"
#include "GameDatabase.h"
#include "MapBytes.h"
#include "MenuOnScreen.h"
#include "Tarnbook/TBKNBT.h"
#include "WorldReader.h"
#include "creatures/CreatureViewController.h"
#include "equipment/ItemViewController.h"

namespace {

const char* const modernFolder = "bW9kZXJuAA==";  // "Modern Survival"

// The map of the demo's world of today, with land the test writes where
// its player stands (block -64, 112 of chunk -4, 7): grass at y 64 in the
// Overworld (one block of a name the colour table lacks), netherrack at
// y 40 in the Nether; and the chests of the tests' container world's chunk
// 0, 0 (a chest at 1, 64, 2 and a double chest at 3, 64, 2).
struct MapOnScreen : MenuOnScreen {
  std::shared_ptr<MapViewController> map;

  MapOnScreen() {
    {
      auto db = gamedatabase::open(world(modernFolder) / "db");
      std::vector<mapbytes::Block> grass, rock;
      for (int x = 0; x < 16; ++x) {
        for (int z = 0; z < 16; ++z) {
          grass.push_back({x, 0, z, x == 15 && z == 15 ? "mymod:glowing_moss" : "minecraft:grass_block"});
          rock.push_back({x, 8, z, "minecraft:netherrack"});
        }
      }
      db->Put({}, mapbytes::chunkKey(-4, 7, 0, '\x2f', 4),
              mapbytes::subChunk(9, {mapbytes::layer(1, "minecraft:air", grass)}, 4));
      db->Put({}, mapbytes::chunkKey(-4, 7, 1, '\x2f', 2),
              mapbytes::subChunk(9, {mapbytes::layer(1, "minecraft:air", rock)}, 2));
      std::string chests;
      auto chunks = tbktest::containerChunks();
      for (const auto& root : chunks[0].roots) chests += TBKNBT::serialise(*root);
      db->Put({}, tbktest::chunkKey(0, 0).bytes(), chests);
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
  // A tap on the block's point, once the containers and creatures are marked.
  void tapBlock(double x, double z) {
    ASSERT_TRUE(driver.runUntil([&] { return !map->readingMarkers(); }));
    auto view = map->mapView();
    driver.tap(*window, view->convertToWindow(view->viewport().pointOfBlock(x, z)));
    driver.runUntilIdle();
  }
  void centreOn(double x, double z, int zoom) {
    MapViewport viewport = map->mapView()->viewport();
    viewport.centreX = x;
    viewport.centreZ = z;
    viewport.zoom = zoom;
    map->mapView()->setViewport(viewport);
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
  EXPECT_EQ(s.map->unknownNamesLabel()->text(), "1 block name unknown to Gorvane, drawn in magenta");
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

// The pair of chests is one marker until the map is zoomed in on it; the
// chest then opens in its grid, and a count typed there lands in its
// chunk's record. The demo's wolf opens its own screen, and is no longer
// marked once the creatures are switched off.
TEST(MapScreen, AMarkerTappedOpensItsContainerOrCreature) {
  MapOnScreen s;
  std::string key = tbktest::chunkKey(0, 0).bytes();
  std::string before = worldreader::readDatabaseValue(s.world(modernFolder), key).value();
  s.centreOn(2, 2, 4);
  for (int zoom : {6, 7}) {
    s.tapBlock(2.5, 2.5);
    EXPECT_EQ(s.map->mapView()->viewport().zoom, zoom);
  }
  s.tapBlock(1.5, 2.5);
  auto grid = s.top<InventoryViewController>();
  ASSERT_NE(grid, nullptr);
  grid->didSelectItemAtIndexPath(*grid->collectionView(), ui::IndexPath{0, 0});
  s.driver.runUntilIdle();
  auto editor = s.top<ItemViewController>();
  ASSERT_NE(editor, nullptr);
  s.typeInto(editor->countField, "40");
  std::string root = TBKNBT::serialise(*tbktest::containerChunks()[0].roots[0]);
  std::string expected = before;
  expected.replace(before.find(root), root.size(),
                   worldreader::withPayload(root, "Items/0/Count", worldreader::littleEndian(40, 1)));
  EXPECT_EQ(worldreader::readDatabaseValue(s.world(modernFolder), key), expected);

  s.back();
  s.back();
  s.centreOn(-62.5, 113.5, 7);
  s.tapBlock(-62.5, 113.5);
  auto creature = s.top<CreatureViewController>();
  ASSERT_NE(creature, nullptr);
  EXPECT_EQ(creature->record()->name(), "Biscuit");
  s.back();
  s.tap(*s.map->creaturesSwitch());
  const auto& markers = s.map->mapView()->markers();
  EXPECT_EQ(std::count_if(markers.begin(), markers.end(), [](const MapMarker& m) { return m.creature != nullptr; }), 0);
  // The demo's seven in the Overworld and the two put in.
  EXPECT_EQ(std::count_if(markers.begin(), markers.end(), [](const MapMarker& m) { return m.container != nullptr; }),
            9);
}

}  // namespace
