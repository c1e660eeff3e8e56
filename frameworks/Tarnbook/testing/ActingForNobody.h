#pragma once

// A root process acting for an ordinary user, as Gorvane does after a
// set-user-id start: the process is root, the real user is `nobody`, and
// every read and write must be one nobody could do. Skipped without root.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "RealUser.h"
#include "Tarnbook/TBKException.h"
#include "TarnbookTestWorld.h"

namespace tbktest {

constexpr uid_t nobody = 65534;
constexpr gid_t nogroup = 65534;
constexpr gid_t otherGroup = 4242;  // a group nobody is not in by default
constexpr uid_t someoneElse = 4243;

class ActingForNobody : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root: the tests act for another user as Gorvane does";
    std::filesystem::permissions(scratch.path(), std::filesystem::perms(0755));
    saved = tbk::realUser();
    tbk::setRealUser({nobody, nogroup, {}});
  }
  void TearDown() override {
    if (::geteuid() == 0) tbk::setRealUser(saved);
  }

  std::string at(const std::string& relative) const { return scratch.path() + "/" + relative; }
  std::string folder(const std::string& relative, uid_t uid, gid_t gid, mode_t mode) const {
    std::string path = at(relative);
    std::filesystem::create_directories(path);
    place(path, uid, gid, mode);
    return path;
  }
  std::string file(const std::string& relative, const std::string& bytes, uid_t uid, gid_t gid, mode_t mode) const {
    std::string path = at(relative);
    std::ofstream(path, std::ios::binary) << bytes;
    place(path, uid, gid, mode);
    return path;
  }
  static void place(const std::string& path, uid_t uid, gid_t gid, mode_t mode) {
    EXPECT_EQ(::lchown(path.c_str(), uid, gid), 0);
    EXPECT_EQ(::chmod(path.c_str(), mode), 0);
  }
  // Runs action and returns the reason it raised ("" when it did not).
  static std::string refusal(const std::function<void()>& action) { return raised(action).reason(); }

  tbktest::TemporaryFolder scratch;
  tbk::RealUser saved{};
};

// Worlds: the game's LevelDB goes through the same checks.
class WorldsForNobody : public ActingForNobody {
 protected:
  void SetUp() override {
    ActingForNobody::SetUp();
    if (IsSkipped()) return;
    tbk::setRealUser(saved);
    writeWorld(sandbox.worldFolder("lake"), "Lakeside Survival", true);
    std::string root = sandbox.gameDataFolder().substr(0, sandbox.gameDataFolder().find("/Documents"));
    place(root, nobody, nogroup, 0755);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      EXPECT_EQ(::lchown(entry.path().c_str(), nobody, nogroup), 0);
    }
    tbk::setRealUser({nobody, nogroup, {}});
  }

  TestSandbox sandbox;
};

}  // namespace tbktest
