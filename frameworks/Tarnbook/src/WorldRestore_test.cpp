#include "WorldRestore.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "GameDatabase.h"
#include "TBKWorldStore.h"
#include "Tarnbook/TBKChunkKey.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "TarnbookTestWorld.h"
#include "WorldReader.h"

namespace fs = std::filesystem;
using tbktest::folderNames;

namespace {

// Everything a restore puts back, read with the tests' own reader: the
// three files and every player record.
using WorldBytes = std::map<std::string, std::string>;

WorldBytes worldBytes(const std::string& world) {
  WorldBytes bytes;
  for (const char* name : {"level.dat", "level.dat_old", "levelname.txt"}) {
    if (fs::exists(world + "/" + name)) bytes[name] = tbktest::readFile(world + "/" + name);
  }
  if (!fs::exists(world + "/db")) return bytes;
  for (const auto& [key, value] : worldreader::databaseContents(world)) {
    if (key == "~local_player" || key.rfind("player_server_", 0) == 0) bytes[key] = value;
  }
  return bytes;
}

void putRecord(const std::string& world, const std::string& key, int mark) {
  auto tree = tbktest::makePlayerTree();
  tree->setValueForKey(TBKNumberTag::intTag("Mark", mark));
  TBKWorldStore::open(world + "/db", "lake")->put(key, TBKNBT::serialise(*tree));
}

std::string chestKey() {
  return TBKChunkKey{3, -2, TBKChunkKey::Dimension::Nether, TBKChunkKey::Tag::BlockEntities}.bytes();
}

struct WorldRestoreTest : ::testing::Test {
  tbktest::TestSandbox sandbox;
  std::string lake = sandbox.worldFolder("lake");
  std::string cave = sandbox.worldFolder("cave");
  std::string backups = sandbox.gameDataFolder() + "/gorvane-backups/";

  void SetUp() override {
    tbktest::writeWorld(lake, "Lakeside Survival", true);
    putRecord(lake, "player_server_1b2c-3d", 1);
    tbktest::writeWorld(cave, "Old Cave World", false, 2);
  }

  // Renames the world and marks its players; the first change backs it up.
  static void change(TBKLevelDB& db, int mark) {
    auto level = db.levelData();
    level->setValueForKey(std::make_shared<TBKStringTag>("LevelName", "Changed " + std::to_string(mark)));
    db.setLevelData(level);
    auto player = db.player();
    player->setValueForKey(TBKNumberTag::intTag("Mark", mark));
    db.setPlayer(player);
    if (db.hasDatabase()) putRecord(db.worldFolder(), "player_server_1b2c-3d", mark);
  }
};

TEST_F(WorldRestoreTest, ARestoreBringsBackEveryFileAndRecordAndTheStateBeforeItRestoresToo) {
  struct Case {
    std::string world;
    std::vector<std::string> contents;
  } cases[] = {
      {"lake", {"level.dat", "levelname.txt", "~local_player", "player_server_1b2c-3d"}},
      {"cave", {"level.dat", "levelname.txt"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.world);
    std::string folder = sandbox.worldFolder(c.world);
    WorldBytes before = worldBytes(folder);
    auto db = TBKLevelDB::dbForWorldNamed(c.world);
    change(*db, 7);
    WorldBytes changed = worldBytes(folder);
    ASSERT_NE(changed, before);

    auto listed = db->backups();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].contents, c.contents) << "level.dat_old did not exist yet";
    EXPECT_TRUE(listed[0].restorable()) << listed[0].damage;
    std::string undo = db->restoreBackup(listed[0]);
    EXPECT_EQ(worldBytes(folder), before);
    EXPECT_EQ(db->levelData()->stringForKey("LevelName"), c.world == "lake" ? "Lakeside Survival" : "Old Cave World");
    EXPECT_FALSE(db->player()->objectForKeyedSubscript("Mark")) << "the player is read again";

    listed = db->backups();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].folder, undo) << "newest first";
    db->restoreBackup(listed[0]);
    EXPECT_EQ(worldBytes(folder), changed);
    EXPECT_EQ(folderNames(folder).size(), c.world == "lake" ? 4u : 3u) << "no journal or leftover stays";
  }
}

TEST_F(WorldRestoreTest, RecordsASessionWritesComeBackAsItFoundThemAndThoseItAddedGo) {
  std::string chest = chestKey();
  std::string digest = std::string("digp\x03\0\0\0\xfe\xff\xff\xff", 12);
  TBKWorldStore::open(lake + "/db", "lake")->put(chest, TBKNBT::serialise(*tbktest::makePlayerTree()));
  auto before = worldreader::databaseContents(lake);
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  db->writeRecords({{chest, "changed"}, {digest, "12345678"}});
  db->writeRecords({{chest, std::nullopt}});
  auto changed = worldreader::databaseContents(lake);
  ASSERT_FALSE(changed.count(chest));
  ASSERT_EQ(changed.at(digest), "12345678");

  auto listed = db->backups();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].contents, (std::vector<std::string>{"level.dat", "levelname.txt", chest, digest, "~local_player",
                                                          "player_server_1b2c-3d"}));
  std::string undo = db->restoreBackup(listed[0]);
  EXPECT_EQ(worldreader::databaseContents(lake), before) << "the chest back as it was, the list gone";
  db->restoreBackup(db->backups()[0]);
  EXPECT_EQ(db->backups()[1].folder, undo);
  EXPECT_EQ(worldreader::databaseContents(lake), changed) << "the restore undone";
}

TEST_F(WorldRestoreTest, ARefusedRestoreWritesNothingAndSaysWhy) {
  struct Case {
    std::string name;
    std::string world;
    std::function<void(const std::string& backup)> spoil;
    bool listedDamaged;
    std::string reason;
  } cases[] = {
      {"damaged level.dat", "lake", [](auto& b) { tbktest::writeFile(b + "/level.dat", std::string("\x03\0\0\0", 4)); },
       true, "its level.dat is damaged"},
      {"no level.dat", "lake", [](auto& b) { fs::remove(b + "/level.dat"); }, true, "it has no level.dat"},
      {"damaged record", "lake",
       [](auto& b) { tbktest::writeFile(b + "/player_server_1b2c-3d.nbt", std::string("\x0a\x00", 2)); }, true,
       "its player record player_server_1b2c-3d is damaged"},
      {"records of more than 64 MB together", "lake",
       [](auto& b) {
         for (const char* name : {"/player_server_a.nbt", "/player_server_b.nbt"}) {
           tbktest::writeFile(b + name, "");
           ASSERT_EQ(::truncate((b + name).c_str(), off_t(40) << 20), 0);  // sparse
         }
       },
       true, "come to at least 83890142 bytes, more than the 64 MB"},
      {"a FIFO for level.dat", "lake",
       [](auto& b) {
         fs::remove(b + "/level.dat");
         ::mkfifo((b + "/level.dat").c_str(), 0644);
       },
       true, "is not a plain file"},
      {"damaged block entities", "lake",
       [](auto& b) {
         tbktest::writeFile(b + "/" + tbk::recordFileName({chestKey(), ""}), std::string("\x0a\x00", 2));
       },
       true, "its record of the block entities of chunk 3, -2 in the Nether is damaged"},
      {"records for a world without a database", "cave",
       [](auto& b) { tbktest::writeFile(b + "/local_player.nbt", TBKNBT::serialise(*tbktest::makePlayerTree())); },
       false, "has none"},
      {"the game holds the world", "lake", nullptr, false, "Quit to the title screen"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string folder = sandbox.worldFolder(c.world);
    pid_t game = 0;
    {
      auto db = TBKLevelDB::dbForWorldNamed(c.world);
      change(*db, 3);
      std::string made = db->backupMade();
      if (c.spoil) c.spoil(made);
    }
    if (!c.spoil)
      game = gamedatabase::holdInChild([&] { static auto held = TBKWorldStore::open(folder + "/db", "lake"); });
    WorldBytes now = worldBytes(folder);
    auto kept = folderNames(backups + c.world);
    auto db = TBKLevelDB::dbForWorldNamed(c.world);
    auto listed = db->backups();
    EXPECT_EQ(listed[0].restorable(), !c.listedDamaged) << listed[0].damage;
    std::string reason = tbktest::raised([&] { db->restoreBackup(listed[0]); }).reason();
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    if (game) gamedatabase::endChild(game);
    EXPECT_EQ(worldBytes(folder), now);
    EXPECT_EQ(folderNames(backups + c.world), kept) << "not even a backup of the world as it is";
  }
}

TEST_F(WorldRestoreTest, RestoredFilesKeepTheWorldsOwnersAndModes) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give files away";
  for (const auto& entry : fs::recursive_directory_iterator(lake))
    ASSERT_EQ(::chown(entry.path().c_str(), 4242, 4343), 0);
  ASSERT_EQ(::chown(lake.c_str(), 4242, 4343), 0);
  ASSERT_EQ(::chmod(lake.c_str(), 0750), 0);
  ASSERT_EQ(::chmod((lake + "/level.dat").c_str(), 0604), 0);
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  change(*db, 1);
  db->restoreBackup(db->backups()[0]);
  db->restoreBackup(db->backups()[0]);
  struct stat info;
  ASSERT_EQ(::stat((lake + "/level.dat").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0604u);
  for (const auto& entry : fs::recursive_directory_iterator(lake)) {
    SCOPED_TRACE(entry.path().string());
    ASSERT_EQ(::stat(entry.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4242u);
    EXPECT_EQ(info.st_gid, 4343u);
  }
}

}  // namespace
