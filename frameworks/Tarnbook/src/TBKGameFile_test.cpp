#include "Tarnbook/TBKGameFile.h"

#include <sys/stat.h>

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

// Restoring the options file and undoing it is shown through the backups
// screen; here, its mode kept and a damaged backup refused.
TEST_F(TBKGameFileTest, TheFirstBackupOfARunIsKeptBesideTheWorldsBackupsAndRestoresWithTheFilesMode) {
  tbktest::writeFile(path, "mp_username:Steve\n");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  std::string folder = file.backUpOnce();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(fs::path(folder).parent_path(), fs::path(sandbox.gameDataFolder()) / "gorvane-backups" / "options");
  EXPECT_EQ(tbktest::readFile(folder + "/options.txt"), "mp_username:Steve\n");

  file.replace("mp_username:Alex\n");
  EXPECT_EQ(TBKGameFile(path, "options").backUpOnce(), folder) << "once per run for this path";
  EXPECT_EQ(tbktest::readFile(folder + "/options.txt"), "mp_username:Steve\n") << "the first content stays";
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(folder).parent_path()), fs::directory_iterator()), 1);

  file.restoreBackup(file.backups().at(0));
  EXPECT_EQ(tbktest::readFile(path), "mp_username:Steve\n");
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);

  tbktest::writeFile(folder + "/options.txt", "");
  auto listed = file.backups();
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[1].damage, "its options.txt is empty");
  EXPECT_THROW(file.restoreBackup(listed[1]), TBKException);
  EXPECT_EQ(tbktest::readFile(path), "mp_username:Steve\n");
  EXPECT_EQ(file.backups().size(), 2u) << "a refused restore keeps no backup";
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
