#include <cmath>
#include <filesystem>
#include <map>
#include <optional>

#include <gtest/gtest.h>

#include "DemoGame.h"
#include "GameDatabase.h"
#include "Tarnbook/TBKChunkKey.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "TarnbookTestWorld.h"
#include "WorldReader.h"

// The bytes of the game's own worlds, early and of today, as they are read
// and written back.

using tbktest::readFile;

namespace {

TEST(TBKDemoWorlds, ReadsBlocksOfEitherCompressionAndWritesZlib) {
  DemoGame game;
  std::string folder = (game.gameDataFolder() / "minecraftWorlds/Lakeside Survival").string();
  // The database the game wrote with raw deflate (id 4), flushed to tables.
  std::string record = *worldreader::readDatabaseValue(folder, "~local_player");
  std::filesystem::remove_all(folder + "/db");
  {
    auto db = gamedatabase::open(folder + "/db", 4, true);
    for (int i = 0; i < 2000; ++i) {
      db->Put(leveldb::WriteOptions(), "chunk" + std::to_string(i), std::string(300, static_cast<char>('a' + i % 26)));
    }
    db->Put(leveldb::WriteOptions(), "~local_player", record);
    db->CompactRange(nullptr, nullptr);
  }
  {
    auto db = TBKLevelDB::dbForWorldNamed("Lakeside Survival");
    EXPECT_EQ(db->player()->listForKey("Inventory")->count(), 45u);
    db->setPlayer(db->player());
  }
  // Reopening turns the write into a table; a reader that knows only zlib
  // (id 2) must still read every block.
  TBKLevelDB(folder, "Lakeside Survival", "").player();
  std::string read;
  ASSERT_TRUE(gamedatabase::open(folder + "/db", 2)->Get(leveldb::ReadOptions(), "~local_player", &read).ok());
  EXPECT_TRUE(read == record);
}

// The demo's worlds, early and of today, written back unchanged keep every
// byte. Today's (storage version 10) has named items with "Block" and "tag"
// children, a shulker box holding its own "Items", an add-on's item, friends'
// player_server_* records and a pointer to a record that is gone. An edit
// that changes one byte alone is shown by the players' and the screens' tests.
TEST(TBKDemoWorlds, EarlyAndTodaysWorldsRoundTripByteForByte) {
  DemoGame game;
  const std::filesystem::path worlds = game.gameDataFolder() / "minecraftWorlds";
  struct Case {
    std::string name;
    int32_t version;
    size_t players;  // whole player records, written back one by one
  } cases[] = {{"Old Cave World", 2, 1}, {"Lakeside Survival", 3, 1}, {"bW9kZXJuAA==", 10, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string level = readFile(worlds / c.name / "level.dat");
    bool database = std::filesystem::exists(worlds / c.name / "db");
    auto records = database ? worldreader::databaseContents(worlds / c.name) : std::map<std::string, std::string>{};
    auto db = TBKLevelDB::dbForWorldNamed(c.name);
    db->setLevelData(db->levelData());
    EXPECT_EQ(db->storageVersion(), c.version);
    size_t written = 0;
    for (const auto& player : db->players()) {
      if (!player.missing.empty()) continue;
      db->setPlayerForKey(player.key, db->playerForKey(player.key));
      ++written;
    }
    EXPECT_EQ(written, c.players);
    EXPECT_TRUE(readFile(worlds / c.name / "level.dat") == level);
    if (database) {
      EXPECT_TRUE(worldreader::databaseContents(worlds / c.name) == records);
    }
  }
}

}  // namespace

namespace {

std::string keyBytes(std::initializer_list<int32_t> words, std::string tail) {
  std::string key;
  for (int32_t word : words) key.append(reinterpret_cast<const char*>(&word), 4);
  return key + tail;
}

TEST(TBKChunkKey, ReadsEveryShapeOfChunkKeyAndNothingElse) {
  using Tag = TBKChunkKey::Tag;
  using Dimension = TBKChunkKey::Dimension;
  struct Case {
    std::string key;
    std::optional<TBKChunkKey> parsed;
  };
  const Case cases[] = {
      {keyBytes({3, -2}, "\x31"), TBKChunkKey{3, -2, Dimension::Overworld, Tag::BlockEntities}},
      {keyBytes({-1, 7, 1}, "\x32"), TBKChunkKey{-1, 7, Dimension::Nether, Tag::Entities}},
      {keyBytes({0, 0, 2}, std::string("\x2f\xfc", 2)), TBKChunkKey{0, 0, Dimension::End, Tag::SubChunk, -4}},
      {keyBytes({5, 6}, std::string("\x2f\x00", 2)), TBKChunkKey{5, 6, Dimension::Overworld, Tag::SubChunk, 0}},
      {keyBytes({5, 6}, "\x76"), TBKChunkKey{5, 6, Dimension::Overworld, Tag::LegacyVersion}},
      // Not a chunk's: another dimension number, a tag the game never
      // wrote, an index on a record that has none, text keys that happen
      // to have a chunk key's length.
      {keyBytes({0, 0, 0}, "\x31"), std::nullopt},
      {keyBytes({0, 0, 3}, "\x31"), std::nullopt},
      {keyBytes({0, 0}, "\x37"), std::nullopt},
      {keyBytes({0, 0}, "\x31\x01"), std::nullopt},
      {keyBytes({0, 0}, "\x2f"), std::nullopt},
      {"~local_player", std::nullopt},
      {"game_flatworl", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.key));
    auto parsed = TBKChunkKey::parse(c.key);
    ASSERT_EQ(parsed.has_value(), c.parsed.has_value());
    if (!parsed) continue;
    EXPECT_EQ(*parsed, *c.parsed);
    EXPECT_EQ(parsed->bytes(), c.key);
  }
  EXPECT_EQ(TBKChunkKey::chunkOf(-0.5), -1);
  EXPECT_EQ(TBKChunkKey::chunkOf(31.9), 1);
  EXPECT_EQ(TBKChunkKey::chunkOf(1e300), INT32_MAX);
  EXPECT_EQ(TBKChunkKey::chunkOf(std::nan("")), INT32_MIN);
  EXPECT_EQ(TBKChunkKey::dimensionNamed("NETHER"), Dimension::Nether);
  EXPECT_EQ(TBKChunkKey::dimensionNamed("end"), Dimension::End);
  EXPECT_EQ(TBKChunkKey::dimensionNamed("moon"), std::nullopt);
}

}  // namespace
