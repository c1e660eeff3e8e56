#include "app/ProgramPlace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(ProgramPlace, OnlyFoldersNoOneButRootMayWriteHoldTheProgram) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root: the program and its folders must be root's";
  if (!programPlaceProblem(GORVANE_BINARY_DIR).empty())
    GTEST_SKIP() << "the build folder lies where others may change it";
  fs::path base = fs::path(GORVANE_BINARY_DIR) / "program-place";
  fs::remove_all(base);
  const struct {
    const char* name;
    fs::perms mode;
    bool accepted;
  } cases[] = {
      {"root's own folder", fs::perms(0755), true},
      {"a sticky folder everyone may write", fs::perms(01777), false},
      {"a folder its group may write", fs::perms(0775), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::path folder = base / c.name;
    fs::create_directories(folder);
    fs::permissions(folder, c.mode);
    std::ofstream(folder / "gorvane") << "#!";
    fs::permissions(folder / "gorvane", fs::perms(04755));
    std::string problem = programPlaceProblem((folder / "gorvane").string());
    EXPECT_EQ(problem.empty(), c.accepted) << problem;
    if (!c.accepted) {
      EXPECT_EQ(problem.rfind(folder.string() + ", a folder above", 0), 0u) << problem;
    }
  }
  fs::remove_all(base);
}

}  // namespace
