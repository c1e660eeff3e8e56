#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GameDatabase.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "TarnbookTestWorld.h"
#include "WorldReader.h"

namespace {

const std::string first = "player_server_7b2f4a10-9c1e-4d55-8a31-2e6f0c9d1a01";
const std::string second = "player_server_c0ffee00-1234-4abc-9def-000000000002";
const std::string gone = "player_server_dead0000-0000-4000-8000-00000000dead";
const std::string unnamed = "player_server_0a0a0a0a-5555-4666-8777-888888888888";

std::string pointer(const std::string& serverId) {
  auto tag = std::make_shared<TBKCompoundTag>("");
  tag->setValueForKey(std::make_shared<TBKStringTag>("MsaId", "2535413041870211"));
  tag->setValueForKey(std::make_shared<TBKStringTag>("SelfSignedId", "c3a2e5b1-0000-4000-8000-000000000001"));
  tag->setValueForKey(std::make_shared<TBKStringTag>("ServerId", serverId));
  return TBKNBT::serialise(*tag);
}

std::string playerRecord(int32_t level) {
  auto player = tbktest::makePlayerTree();
  player->setValueForKey(TBKNumberTag::intTag("PlayerLevel", level));
  return TBKNBT::serialise(*player);
}

// A world friends joined: the local player, two players reached through
// their pointers, a pointer whose record is gone, a damaged pointer, one
// too long to be a pointer and a record no pointer names, all still in the
// database's log.
class TBKPlayersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tbktest::writeWorld(world, "Shared Survival", true);
    // Closing does not write LevelDB's memory table out: the records stay in its log.
    auto tables = [&] {
      auto names = tbktest::folderNames(world + "/db");
      return std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.ends_with(".ldb"); });
    };
    auto db = gamedatabase::open(world + "/db");
    const auto tablesBefore = tables();  // opening wrote what the log held into a table
    for (const auto& [key, value] :
         std::map<std::string, std::string>{{"player_aaaa1111", pointer(first)},
                                            {"player_bbbb2222", pointer(second)},
                                            {"player_cccc3333", pointer(gone)},
                                            {"player_dddd4444", std::string("\x0a\x00\x00\x08", 4)},
                                            {"player_eeee5555", pointer(first) + std::string(65 << 10, '\0')},
                                            {first, playerRecord(11)},
                                            {second, playerRecord(22)},
                                            {unnamed, playerRecord(33)}}) {
      db->Put(leveldb::WriteOptions(), key, value);
    }
    db.reset();
    ASSERT_EQ(tables(), tablesBefore) << "the records are in the log alone";
  }

  tbktest::TestSandbox sandbox;
  std::string world = sandbox.worldFolder("shared");
};

TEST_F(TBKPlayersTest, ListsTheLocalPlayerFirstAndSaysWhyARecordIsMissing) {
  struct Expected {
    std::string key, id, missing;
  };
  const std::vector<Expected> expected = {
      {"~local_player", "", ""},
      {first, "aaaa1111", ""},
      {second, "bbbb2222", ""},
      {gone, "cccc3333", "names the player record " + gone + ", which is not in the world's database."},
      {"", "dddd4444", "Its record player_dddd4444 is damaged"},
      {"", "eeee5555", "bytes long, more than the 64 KB"},
      {unnamed, "", ""},
  };
  auto players = TBKLevelDB::dbForWorldNamed("shared")->players();
  ASSERT_EQ(players.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(players[i].key, expected[i].key);
    EXPECT_EQ(players[i].id, expected[i].id);
    EXPECT_EQ(players[i].missing.empty(), expected[i].missing.empty()) << players[i].missing;
    EXPECT_THAT(players[i].missing, ::testing::HasSubstr(expected[i].missing));
  }
}

TEST_F(TBKPlayersTest, WritesOnePlayerByKeyAndLeavesEveryOtherRecordAlone) {
  auto local = tbktest::makePlayerTree();
  local->setValueForKey(TBKNumberTag::intTag("PlayerLevel", 7));
  TBKLevelDB(world, "shared", "").setPlayer(local);
  struct Case {
    std::string key;
    int32_t level;
    std::string backupName;
  };
  for (const Case& c : std::vector<Case>{{"~local_player", 7, "local_player.nbt"},
                                         {first, 11, first + ".nbt"},
                                         {second, 22, second + ".nbt"},
                                         {unnamed, 33, unnamed + ".nbt"}}) {
    SCOPED_TRACE(c.key);
    auto before = worldreader::databaseContents(world);
    {
      auto db = TBKLevelDB::dbForWorldNamed("shared");
      if (c.key != "~local_player") db->setPlayer(db->player());  // the session's backup is made already
      auto tree = db->playerForKey(c.key);
      EXPECT_EQ(tree->numberForKey("PlayerLevel").intValue(), c.level);
      EXPECT_EQ(db->playerForKey(c.key), tree) << "one tree per record";
      tree->setValueForKey(TBKNumberTag::intTag("PlayerLevel", 100));
      db->setPlayerForKey(c.key, tree);
      EXPECT_EQ(tbktest::readFile(db->backupMade() + "/" + c.backupName), before.at(c.key));
    }
    auto after = worldreader::databaseContents(world);
    std::map<std::string, std::string> expected = before;
    expected[c.key] = worldreader::withPayload(before.at(c.key), "PlayerLevel", worldreader::littleEndian(100, 4));
    EXPECT_TRUE(after == expected) << "only the one record changed, and in it only PlayerLevel";
  }
}

TEST_F(TBKPlayersTest, RefusesKeysThatAreNoPlayerRecordAndWritesNothing) {
  struct Case {
    std::string key;
    TBKException::Kind readFailure;
  };
  const std::vector<Case> cases = {
      {gone, TBKException::Kind::Format},
      {"player_aaaa1111", TBKException::Kind::Usage},
      {"player_server_", TBKException::Kind::Usage},
      {"BiomeData", TBKException::Kind::Usage},
      {"", TBKException::Kind::Usage},
  };
  auto before = worldreader::databaseContents(world);
  auto db = TBKLevelDB::dbForWorldNamed("shared");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(tbktest::raisedKind([&] { db->playerForKey(c.key); }), c.readFailure);
    if (c.key != gone) {
      EXPECT_THROW(db->setPlayerForKey(c.key, tbktest::makePlayerTree()), TBKException);
    }
  }
  EXPECT_TRUE(worldreader::databaseContents(world) == before);
}

}  // namespace
