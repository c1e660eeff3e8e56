#include "WorldBackup.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "TarnbookTestWorld.h"

namespace fs = std::filesystem;

namespace {

TEST(WorldBackupTest, PruningKeepsTheNewestAndNeverTouchesOtherFolders) {
  tbktest::TemporaryFolder root;
  const char* existing[] = {
      "2024-01-01T00-00-00.000Z",
      "2024-01-01T00-00-00.000Z-2",
      "2024-01-01T00-00-00.000Z-10",
      "2025-06-30T23-59-59.999Z",
      "2025-07-01T00-00-00.000Z",
      "2023-12-31T23-59-59.999Z",
      "notes",
      "2024-01-01",
      "x2024-01-01T00-00-00.000Z",
  };
  for (const char* name : existing) fs::create_directories(root.path() + "/" + name);

  tbk::FileOwner owner{::geteuid(), ::getegid(), 0644};
  std::string made = tbk::writeBackup(root.path(), {{"level.dat", "bytes"}}, owner, 3);

  std::vector<std::string> expected = {
      "2024-01-01", "2025-06-30T23-59-59.999Z", "2025-07-01T00-00-00.000Z", fs::path(made).filename(),
      "notes",      "x2024-01-01T00-00-00.000Z"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(tbktest::folderNames(root.path()), expected);
  EXPECT_EQ(tbktest::readFile(made + "/level.dat"), "bytes");
}

TEST(WorldBackupTest, BackupsInTheSameMillisecondGetTheirOwnFolders) {
  tbktest::TemporaryFolder root;
  tbk::FileOwner owner{::geteuid(), ::getegid(), 0644};
  std::set<std::string> made;
  for (int i = 0; i < 20; ++i) made.insert(tbk::writeBackup(root.path(), {{"n", std::to_string(i)}}, owner, 100));
  EXPECT_EQ(made.size(), 20u);
}

// A backup killed halfway leaves only a folder no restore would take for a
// backup, and the next backup clears it away.
TEST(WorldBackupTest, AnInterruptedBackupNeverLooksWholeAndIsClearedLater) {
  tbktest::TemporaryFolder root;
  tbk::FileOwner owner{::geteuid(), ::getegid(), 0644};
  fs::create_directories(root.path() + "/.incomplete-2026-01-01T00-00-00.000Z-99");
  tbktest::writeFile(root.path() + "/.incomplete-2026-01-01T00-00-00.000Z-99/level.dat", "half");

  std::string made = tbk::writeBackup(root.path(), {{"level.dat", "whole"}, {"levelname.txt", "name"}}, owner);
  EXPECT_EQ(tbktest::folderNames(root.path()), std::vector<std::string>{fs::path(made).filename()});
  EXPECT_EQ(tbktest::readFile(made + "/level.dat"), "whole");
  EXPECT_EQ(tbktest::readFile(made + "/levelname.txt"), "name");
}

}  // namespace
