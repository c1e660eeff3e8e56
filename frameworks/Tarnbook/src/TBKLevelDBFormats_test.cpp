#include <filesystem>

#include <gtest/gtest.h>

#include "DemoGame.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNumberTag.h"
#include "TarnbookTestWorld.h"
#include "WorldReader.h"

// The bytes of the game's own worlds, early and of today, as they are read
// and written back.

using tbktest::readFile;

namespace {

class TBKLevelDBFormats : public ::testing::Test {
 protected:
  void SetUp() override { tbktest::writeWorld(sandbox.worldFolder("lake"), "Lakeside Survival", true); }

  tbktest::TestSandbox sandbox;
};

TEST_F(TBKLevelDBFormats, ReadsBlocksOfEitherCompressionAndWritesZlib) {
  // The database the game wrote with raw deflate (id 4), flushed to tables.
  std::string folder = sandbox.worldFolder("lake");
  std::string record = tbktest::readPlayerRecord(folder);
  tbktest::rewriteDatabase(folder, record, 4);
  {
    auto db = TBKLevelDB::dbForWorldNamed("lake");
    EXPECT_EQ(db->player()->listForKey("Inventory")->count(), 45u);
    db->setPlayer(db->player());
  }
  // Reopening turns the write into a table; a reader that knows only zlib
  // (id 2) must still read every block.
  TBKLevelDB(folder, "lake", "").player();
  EXPECT_TRUE(tbktest::readWithOnlyCompressor(folder, 2) == record);
}

// The demo's world of today's game: storage version 10, named items with
// "Block" and "tag" children, a shulker box holding its own "Items", an
// add-on's item, friends' player_server_* records and a pointer to a record
// that is gone. Written back unchanged it keeps every byte; one edited count
// changes that count's byte and nothing else.
TEST(TBKLevelDBFormatsOfToday, TodaysWorldRoundTripsByteForByte) {
  DemoGame game;
  const std::string name = "bW9kZXJuAA==";
  const std::filesystem::path folder = game.gameDataFolder() / "minecraftWorlds" / name;
  std::string level = readFile(folder / "level.dat");
  auto records = worldreader::databaseContents(folder);
  {
    auto db = TBKLevelDB::dbForWorldNamed(name);
    db->setLevelData(db->levelData());
    EXPECT_EQ(db->storageVersion(), 10);
    size_t written = 0;
    for (const auto& player : db->players()) {
      if (!player.missing.empty()) continue;
      db->setPlayerForKey(player.key, db->playerForKey(player.key));
      ++written;
    }
    EXPECT_EQ(written, 3u) << "the local player and two friends";
  }
  EXPECT_TRUE(readFile(folder / "level.dat") == level);
  EXPECT_TRUE(worldreader::databaseContents(folder) == records);

  // As an editor changes the count of the second stack in the shulker box.
  {
    auto db = TBKLevelDB::dbForWorldNamed(name);
    auto player = db->player();
    auto box = player->listForKey("Inventory")->compoundAtIndex(32)->compoundForKey("tag")->listForKey("Items");
    box->compoundAtIndex(1)->setValueForKey(TBKNumberTag::byteTag("Count", 63));
    db->setPlayer(player);
  }
  auto expected = records;
  expected["~local_player"] = worldreader::withPayload(records.at("~local_player"), "Inventory/32/tag/Items/1/Count",
                                                       worldreader::littleEndian(63, 1));
  EXPECT_TRUE(worldreader::databaseContents(folder) == expected);
}

}  // namespace
