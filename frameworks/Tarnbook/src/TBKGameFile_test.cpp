#include "Tarnbook/TBKGameFile.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "ActingForNobody.h"
#include "Tarnbook/TBKFileSource.h"
#include "TarnbookTestWorld.h"

namespace fs = std::filesystem;

namespace {

struct TBKGameFileTest : ::testing::Test {
  tbktest::TestSandbox sandbox;
  std::string path = sandbox.gameDataFolder() + "/minecraftpe/options.txt";
  TBKGameFile file{path, "options"};
};

TEST_F(TBKGameFileTest, TheFirstBackupOfARunKeepsTheFileBesideTheWorldsBackupsAndLaterOnesDoNothing) {
  tbktest::writeFile(path, "mp_username:Steve\n");
  std::string folder = file.backUpOnce();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(fs::path(folder).parent_path(), fs::path(sandbox.gameDataFolder()) / "gorvane-backups" / "options");
  EXPECT_EQ(tbktest::readFile(folder + "/options.txt"), "mp_username:Steve\n");

  file.replace("mp_username:Alex\n");
  EXPECT_EQ(TBKGameFile(path, "options").backUpOnce(), folder) << "once per run for this path";
  EXPECT_EQ(tbktest::readFile(folder + "/options.txt"), "mp_username:Steve\n") << "the first content stays";
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(folder).parent_path()), fs::directory_iterator()), 1);
}

using namespace tbktest;

TEST_F(WorldsForNobody, AnOptionsFileThatIsALinkIsNeitherReadNorReplacedNorBackedUp) {
  std::string secret = file("shadow", "root:hash\n", 0, 0, 0640);
  std::string options = sandbox.gameDataFolder() + "/minecraftpe/options.txt";
  fs::create_symlink(secret, options);
  TBKGameFile game(options, "options");
  EXPECT_NE(refusal([&] { game.read(); }).find("is a symbolic link"), std::string::npos);
  EXPECT_NE(refusal([&] { game.backUpOnce(); }).find("is a symbolic link"), std::string::npos);
  EXPECT_NE(refusal([&] { game.replace("mp_username:pwned\n"); }).find("is a symbolic link"), std::string::npos);
  EXPECT_EQ(readFile(secret), "root:hash\n");
  EXPECT_FALSE(fs::exists(TBKFileSource::sharedSource().backupsFolder() + "/options"));

  // Their own options file, as the game keeps it, is edited as before.
  fs::remove(options);
  std::ofstream(options) << "mp_username:Steve\n";
  place(options, nobody, nogroup, 0644);
  EXPECT_FALSE(game.backUpOnce().empty());
  game.replace("mp_username:Alex\n");
  EXPECT_EQ(game.read().value(), "mp_username:Alex\n");
}

}  // namespace
