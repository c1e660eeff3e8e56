#include "OwnershipEnv.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "ActingForNobody.h"
#include "TBKWorldStore.h"
#include "Tarnbook/TBKLevelDB.h"

namespace fs = std::filesystem;

namespace {

using namespace tbktest;

// Worlds: the game's LevelDB goes through the same checks as every other file.
TEST_F(WorldsForNobody, TheirOwnWorldIsListedReadAndSaved) {
  EXPECT_EQ(TBKLevelDB::worlds(), std::vector<std::string>{"lake"});
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  db->setPlayer(db->player());
  db->setLevelData(db->levelData());
  for (const auto& entry : fs::recursive_directory_iterator(sandbox.gameDataFolder())) {
    struct stat info;
    ASSERT_EQ(::lstat(entry.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, nobody) << entry.path() << " would no longer be the game's";
  }
  EXPECT_FALSE(db->backupMade().empty());
  // A change of rights alone shows on the next listing (the worlds watch).
  for (auto [owner, mode, listed] : {std::tuple{nobody, 0, 0u}, {nobody, 0755, 1u}, {tbktest::someoneElse, 0700, 0u}}) {
    place(sandbox.worldFolder("lake"), owner, nogroup, mode_t(mode));
    EXPECT_EQ(TBKLevelDB::worlds().size(), listed) << owner << " " << mode;
  }
}

TEST_F(WorldsForNobody, AWorldReachedThroughALinkIsRefused) {
  folder("rootworld", 0, 0, 0755);
  tbk::setRealUser(saved);
  tbktest::writeWorld(at("rootworld/w"), "Root's World", true);
  tbk::setRealUser({nobody, nogroup, {}});
  std::string before = readFile(at("rootworld/w/level.dat"));

  // The whole world folder, and the database folder of an own world.
  fs::create_symlink(at("rootworld/w"), sandbox.worldFolder("linked"));
  EXPECT_EQ(TBKLevelDB::worlds(), std::vector<std::string>{"lake"});
  EXPECT_NE(refusal([] { TBKLevelDB::dbForWorldNamed("linked"); }).find("is a symbolic link"), std::string::npos);

  fs::remove_all(sandbox.worldFolder("lake") + "/db");
  fs::create_symlink(at("rootworld/w/db"), sandbox.worldFolder("lake") + "/db");
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  EXPECT_NE(refusal([&] { db->player(); }).find("is a symbolic link"), std::string::npos);

  // level.dat itself.
  fs::remove(sandbox.worldFolder("lake") + "/level.dat");
  fs::create_symlink(at("rootworld/w/level.dat"), sandbox.worldFolder("lake") + "/level.dat");
  auto level = tbktest::makeLevelTree("Taken");
  EXPECT_NE(refusal([&] { TBKLevelDB(sandbox.worldFolder("lake"), "lake", "").setLevelData(level); }), "");

  EXPECT_EQ(readFile(at("rootworld/w/level.dat")), before);
  for (const auto& entry : fs::recursive_directory_iterator(at("rootworld"))) {
    struct stat info;
    ASSERT_EQ(::lstat(entry.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u) << entry.path();
  }
}

TEST_F(WorldsForNobody, ALinkPlantedAmongTheDatabaseFilesIsNeverWrittenThrough) {
  std::string target = file("target", "root's\n", 0, 0, 0644);
  std::string db = sandbox.worldFolder("lake") + "/db";
  fs::remove(db + "/LOCK");
  fs::create_symlink(target, db + "/LOCK");
  std::string reason = refusal([&] { TBKWorldStore::open(db, "lake"); });
  EXPECT_NE(reason.find("is a symbolic link"), std::string::npos) << reason;
  EXPECT_EQ(readFile(target), "root's\n");
  struct stat info;
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 0u);
}

}  // namespace
