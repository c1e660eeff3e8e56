#include "Tarnbook/TBKLevelDB.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "GameDatabase.h"
#include "TBKWorldStore.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelFile.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "TarnbookTestWorld.h"

namespace fs = std::filesystem;
using tbktest::readFile;

namespace {

class TBKLevelDBTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tbktest::writeWorld(sandbox.worldFolder("lake"), "Lakeside Survival", true);
    tbktest::writeWorld(sandbox.worldFolder("cave"), "Old Cave World", false, 2);
  }

  tbktest::TestSandbox sandbox;
};

using gamedatabase::endChild;
using gamedatabase::holdInChild;

// Worlds are the folders holding a level.dat, in sorted order. The listing
// may be remembered between calls, but never past a change: each change
// below shows on the very next call.
TEST_F(TBKLevelDBTest, EveryChangeToTheWorldsShowsOnTheNextListing) {
  std::string root = sandbox.worldsFolder();
  auto addWorld = [&](const std::string& name) {
    fs::create_directories(root + "/" + name);
    tbktest::writeFile(root + "/" + name + "/level.dat", "x");
  };
  using Names = std::vector<std::string>;
  struct Case {
    const char* change;
    std::function<void()> make;
    Names expected;
  } cases[] = {
      {"a world added", [&] { addWorld("new"); }, {"cave", "lake", "new"}},
      {"an empty folder", [&] { fs::create_directories(root + "/later"); }, {"cave", "lake", "new"}},
      {"its level.dat written later",
       [&] { tbktest::writeFile(root + "/later/level.dat", "x"); },
       {"cave", "lake", "later", "new"}},
      {"a level.dat removed", [&] { fs::remove(root + "/later/level.dat"); }, {"cave", "lake", "new"}},
      {"a level.dat renamed into place",
       [&] {
         tbktest::writeFile(root + "/later/level.dat.tmp", "x");
         fs::rename(root + "/later/level.dat.tmp", root + "/later/level.dat");
       },
       {"cave", "lake", "later", "new"}},
      {"a world renamed", [&] { fs::rename(root + "/new", root + "/renamed"); }, {"cave", "lake", "later", "renamed"}},
      {"a level.dat replaced by a folder",
       [&] {
         fs::remove(root + "/renamed/level.dat");
         fs::create_directory(root + "/renamed/level.dat");
       },
       {"cave", "lake", "later"}},
      {"a world removed", [&] { fs::remove_all(root + "/later"); }, {"cave", "lake"}},
      {"the worlds folder replaced",
       [&] {
         fs::rename(root, root + ".old");
         addWorld("fresh");
       },
       {"fresh"}},
      {"the worlds folder gone", [&] { fs::remove_all(root); }, {}},
      {"worlds named with a capital, sorted by bytes, beside a stray file",
       [&] {
         addWorld("apple");
         addWorld("Zed");
         tbktest::writeFile(root + "/stray-file", "x");
       },
       {"Zed", "apple"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    TBKLevelDB::worlds();
    c.make();
    EXPECT_EQ(TBKLevelDB::worlds(), c.expected);
    EXPECT_EQ(TBKLevelDB::worlds(), c.expected) << "and stays so";
  }
}

TEST_F(TBKLevelDBTest, OnlyPlainWorldFolderNamesOpen) {
  for (const char* name : {"", ".", "..", "../lake", "lake/db", "missing"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(TBKLevelDB::dbForWorldNamed(name), TBKException);
  }
  EXPECT_NE(TBKLevelDB::dbForWorldNamed("lake"), TBKLevelDB::dbForWorldNamed("lake"));
}

TEST_F(TBKLevelDBTest, SetLevelDataKeepsTheOldFileAndTheNameAndTheVersion) {
  std::string folder = sandbox.worldFolder("cave");
  std::string before = readFile(folder + "/level.dat");
  auto db = TBKLevelDB::dbForWorldNamed("cave");
  auto level = db->levelData();
  EXPECT_EQ(db->storageVersion(), 2);
  level->setValueForKey(std::make_shared<TBKStringTag>("LevelName", "Deep Cave"));
  db->setLevelData(level);

  TBKLevelFile written = TBKLevelFile::parse(readFile(folder + "/level.dat"));
  EXPECT_EQ(written.storageVersion(), 2);
  EXPECT_EQ(written.root()->stringForKey("LevelName"), "Deep Cave");
  EXPECT_TRUE(readFile(folder + "/level.dat_old") == before);
  EXPECT_EQ(readFile(folder + "/levelname.txt"), "Deep Cave");
}

TEST_F(TBKLevelDBTest, OldFormatWorldsKeepThePlayerInLevelDat) {
  std::string folder = sandbox.worldFolder("cave");
  auto db = TBKLevelDB::dbForWorldNamed("cave");
  EXPECT_FALSE(db->hasDatabase());
  auto level = db->levelData();
  auto player = db->player();
  EXPECT_EQ(player->listForKey("Inventory")->count(), 45u);

  // The game-type row's order: the player first, then a level tree that was
  // read before the player changed. The player's change must survive.
  player->compoundForKey("abilities")->setValueForKey(TBKNumberTag::byteTag("mayfly", 1));
  db->setPlayer(player);
  level->setValueForKey(TBKNumberTag::intTag("GameType", 1));
  db->setLevelData(level);

  auto written = worldreader::readLevelDat(folder + "/level.dat").root;
  EXPECT_EQ(written.number("GameType"), 1);
  EXPECT_EQ(written.number("Player/abilities/mayfly"), 1);
  EXPECT_FALSE(fs::exists(folder + "/db"));
  EXPECT_EQ(db->levelData()->compoundForKey("Player"), player);
}

TEST_F(TBKLevelDBTest, DamagedLevelDatFallsBackToLevelDatOld) {
  std::string folder = sandbox.worldFolder("lake");
  std::string whole = readFile(folder + "/level.dat");
  tbktest::writeFile(folder + "/level.dat_old", whole);
  tbktest::writeFile(folder + "/level.dat", whole.substr(0, whole.size() / 2));

  auto db = TBKLevelDB::dbForWorldNamed("lake");
  auto level = db->levelData();
  EXPECT_EQ(level->stringForKey("LevelName"), "Lakeside Survival");
  level->setValueForKey(TBKNumberTag::intTag("SpawnX", 1));
  db->setLevelData(level);
  // The whole old copy is not replaced by the damaged file.
  EXPECT_TRUE(readFile(folder + "/level.dat_old") == whole);
  EXPECT_EQ(TBKLevelDB::dbForWorldNamed("lake")->levelData()->numberForKey("SpawnX").intValue(), 1);

  struct Case {
    const char* why;
    std::string level;
    std::optional<std::string> old;
    const char* mentioned;
  } cases[] = {
      {"both damaged", "garbage", "garbage", "level.dat_old is damaged"},
      {"no old copy", whole.substr(0, 20), std::nullopt, "no level.dat_old"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    tbktest::writeFile(folder + "/level.dat", c.level);
    fs::remove(folder + "/level.dat_old");
    if (c.old) tbktest::writeFile(folder + "/level.dat_old", *c.old);
    std::string reason = tbktest::raised([] { TBKLevelDB::dbForWorldNamed("lake")->levelData(); }).reason();
    EXPECT_NE(reason.find("\"lake\""), std::string::npos) << reason;
    EXPECT_NE(reason.find(c.mentioned), std::string::npos) << reason;
  }
}

TEST_F(TBKLevelDBTest, AFileFarLongerThanTheGameWritesIsDamagedAndCostsNoMemory) {
  // Sparse: 3 GB that cost the user nothing to make.
  for (const char* file : {"/level.dat", "/level.dat_old"}) {
    tbktest::writeFile(sandbox.worldFolder("lake") + file, "");
    ASSERT_EQ(::truncate((sandbox.worldFolder("lake") + file).c_str(), off_t(3) << 30), 0);
  }

  ASSERT_EQ(::truncate((sandbox.worldFolder("lake") + "/db/CURRENT").c_str(), off_t(3) << 30), 0);
  EXPECT_EQ(TBKLevelDB::worlds(), (std::vector<std::string>{"cave", "lake"}));
  auto error = tbktest::raised([] { TBKLevelDB::dbForWorldNamed("lake")->player(); });
  EXPECT_NE(error.reason().find("CURRENT is 3221225472 bytes long"), std::string::npos) << error.reason();
  EXPECT_EQ(TBKLevelDB::dbForWorldNamed("cave")->levelData()->stringForKey("LevelName"), "Old Cave World");
  error = tbktest::raised([] { TBKLevelDB::dbForWorldNamed("lake")->levelData(); });
  EXPECT_NE(error.reason().find("its level.dat is damaged ("), std::string::npos) << error.reason();
  rusage usage;
  ASSERT_EQ(::getrusage(RUSAGE_SELF, &usage), 0);
  EXPECT_LT(usage.ru_maxrss, 200 * 1024) << "kilobytes at the most";
}

TEST_F(TBKLevelDBTest, OpeningIsLazyAndABusyWorldSaysToQuitToTheTitleScreen) {
  std::string folder = sandbox.worldFolder("lake");
  pid_t game = holdInChild([&] { static auto held = TBKWorldStore::open(folder + "/db", "lake"); });

  auto db = TBKLevelDB::dbForWorldNamed("lake");
  EXPECT_EQ(db->levelData()->stringForKey("LevelName"), "Lakeside Survival");
  auto error = tbktest::raised([&] { db->player(); });
  EXPECT_EQ(error.kind(), TBKException::Kind::WorldBusy) << "opened a database the game holds";
  EXPECT_NE(error.reason().find("Quit to the title screen"), std::string::npos) << error.reason();
  endChild(game);
  EXPECT_NO_THROW(db->player());
}

TEST_F(TBKLevelDBTest, AWalkSeesEveryRecordOnceStopsWhenAskedAndReportsItsWay) {
  std::string folder = sandbox.worldFolder("lake");
  {
    auto db = gamedatabase::open(folder + "/db");
    for (int i = 0; i < 20000; ++i)
      db->Put(leveldb::WriteOptions(), "record" + std::to_string(i), std::string(200, 'v'));
    db->CompactRange(nullptr, nullptr);
  }
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  std::vector<std::string> seen;
  std::vector<double> progress;
  EXPECT_TRUE(db->forEachRecord(
      [&](std::string_view key, std::string_view) {
        seen.emplace_back(key);
        return true;
      },
      [&](double done) { progress.push_back(done); }));
  EXPECT_EQ(seen, worldreader::databaseKeys(folder));
  ASSERT_GE(progress.size(), 3u);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_GT(progress[1], 0.0);
  EXPECT_EQ(progress.back(), 1.0);

  size_t visits = 0;
  EXPECT_FALSE(db->forEachRecord([&](std::string_view, std::string_view) { return ++visits < 100; }));
  EXPECT_EQ(visits, 100u);
}

TEST_F(TBKLevelDBTest, NoInfoLogIsLeftInTheDatabase) {
  {
    auto db = TBKLevelDB::dbForWorldNamed("lake");
    db->setPlayer(db->player());
  }
  for (const char* name : {"LOG", "LOG.old"}) EXPECT_FALSE(fs::exists(sandbox.worldFolder("lake") + "/db/" + name));
}

// What a backup holds is shown by restoring it, and which are pruned by
// WorldBackup's own test.
TEST_F(TBKLevelDBTest, EachDatabaseObjectBacksUpOnceAndTenAreKept) {
  for (int object = 0; object < 12; ++object) {
    auto db = TBKLevelDB::dbForWorldNamed("lake");
    db->setLevelData(db->levelData());
    std::string made = db->backupMade();
    db->setPlayer(db->player());
    EXPECT_EQ(db->backupMade(), made);
  }
  auto backups = fs::directory_iterator(sandbox.gameDataFolder() + "/gorvane-backups/lake");
  EXPECT_EQ(std::distance(backups, fs::directory_iterator()), 10);
}

TEST_F(TBKLevelDBTest, RecordsOfMoreThan64MBTogetherAreNotBackedUpAndTheWorldNotChanged) {
  std::string lake = sandbox.worldFolder("lake"), level = readFile(lake + "/level.dat");
  auto put = [&](const std::string& key, char fill) {
    TBKWorldStore::open(lake + "/db", "lake")->put(key, std::string(22 << 20, fill));
  };
  put("player_server_a", 'a');
  put("player_server_b", 'b');
  put("chunk", 'c');
  {
    // Two players fit a backup; a third record changed later would not.
    auto db = TBKLevelDB::dbForWorldNamed("lake");
    db->setLevelData(db->levelData());
    std::string reason = tbktest::raised([&] { db->writeRecords({{"chunk", "x"}}); }).reason();
    EXPECT_NE(reason.find("come to at least 69208036 bytes, more than the 64 MB"), std::string::npos) << reason;
    EXPECT_EQ(worldreader::readDatabaseValue(lake, "chunk"), std::string(22 << 20, 'c'));
  }
  fs::remove_all(sandbox.gameDataFolder() + "/gorvane-backups/lake");
  level = readFile(lake + "/level.dat");
  put("player_server_c", 'c');
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  std::string reason = tbktest::raised([&] { db->setLevelData(db->levelData()); }).reason();
  EXPECT_NE(reason.find("come to at least 69208036 bytes, more than the 64 MB"), std::string::npos) << reason;
  EXPECT_EQ(readFile(lake + "/level.dat"), level);
  EXPECT_FALSE(fs::exists(sandbox.gameDataFolder() + "/gorvane-backups/lake"));
}

TEST_F(TBKLevelDBTest, TheGameLockRefusesASecondProcess) {
  TBKLevelDB::lockMinecraft();
  TBKLevelDB::lockMinecraft();  // a second take in the same process is harmless
  TBKLevelDB::unlockMinecraft();

  pid_t other = holdInChild([] { TBKLevelDB::lockMinecraft(); });
  auto error = tbktest::raised([] {
    TBKLevelDB::lockMinecraft();
    TBKLevelDB::unlockMinecraft();  // only when both editors held the game
  });
  EXPECT_EQ(error.kind(), TBKException::Kind::Lock) << "two editors hold the game";
  EXPECT_NE(error.reason().find("Another editor is using the game's data"), std::string::npos);
  endChild(other);
  EXPECT_NO_THROW(TBKLevelDB::lockMinecraft());
  TBKLevelDB::unlockMinecraft();
}

}  // namespace
