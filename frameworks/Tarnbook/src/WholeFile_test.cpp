#include "WholeFile.h"

#include <errno.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "ActingForNobody.h"
#include "RefusedFlushes.h"

namespace fs = std::filesystem;

namespace {

using namespace tbktest;

TEST(WholeFile, AReplaceThatFailsHalfwayLeavesTheOldEntryAndNoTemporary) {
  TemporaryFolder scratch;
  // Renaming a file over a folder that holds something fails after the
  // temporary file is written.
  std::string path = scratch.path() + "/level.dat";
  fs::create_directories(path + "/inside");
  EXPECT_THROW(tbk::writeFileAtomically(path, "new", tbk::FileOwner{::geteuid(), ::getegid(), 0644}), TBKException);
  EXPECT_TRUE(fs::is_directory(path + "/inside"));
  EXPECT_FALSE(fs::exists(path + ".gorvane-tmp"));
}

TEST(WholeFile, AFlushTheDiskRefusesFailsTheReplaceAndLeavesTheOldFile) {
  TemporaryFolder scratch;
  std::string path = scratch.path() + "/options.txt";
  writeFile(path, "old");
  pid_t child = ::fork();
  if (child == 0) {
    refuseFlushes();
    try {
      tbk::writeFileAtomically(path, "new", tbk::FileOwner{::geteuid(), ::getegid(), 0644});
    } catch (const TBKException&) {
      ::_exit(0);
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the failed flush was not reported; 2: no filter here";
  EXPECT_EQ(readFile(path), "old");
  EXPECT_FALSE(fs::exists(path + ".gorvane-tmp"));
}

TEST_F(ActingForNobody, HardLinksCannotLendRootsFilesToTheUser) {
  folder("secret", 0, 0, 0700);
  std::string shadow = file("secret/shadow", "root:hash\n", 0, 0, 0600);
  folder("game", nobody, nogroup, 0755);
  std::string options = file("game/options.txt", "mine\n", nobody, nogroup, 0644);
  // A leftover temporary name and a game file, both the root file itself.
  ASSERT_EQ(::link(shadow.c_str(), (options + ".gorvane-tmp").c_str()), 0);
  ASSERT_EQ(::link(shadow.c_str(), at("game/level.dat").c_str()), 0);

  tbk::writeFileAtomically(options, "new\n", tbk::ownerForFile(options, at("game")));
  EXPECT_EQ(readFile(options), "new\n");
  EXPECT_NE(refusal([&] { tbk::readWholeFile(at("game/level.dat"), 1024); }).find("may not read"), std::string::npos);
  EXPECT_NE(refusal([&] {
              tbk::writeFileAtomically(at("game/level.dat"), "x", tbk::FileOwner{nobody, nogroup, 0644});
            }).find("may not write"),
            std::string::npos);
  EXPECT_EQ(readFile(shadow), "root:hash\n");
  struct stat info;
  ASSERT_EQ(::stat(shadow.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 0u);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
}

}  // namespace
