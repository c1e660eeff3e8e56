// The real program, started as a user would start it.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <csignal>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "DemoGame.h"

namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::string logLine(const std::string& message) {
  return R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} Gorvane\[\d+:\d+\] )" + message + "$";
}

// The build folder may sit where other users cannot reach it (a private
// checkout): the program and its libraries are copied to an open folder.
std::filesystem::path programOpenToEveryone() {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / ("gorvane-open-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::permissions(folder, fs::perms(0755));
  for (const auto& entry : fs::directory_iterator(DemoGame::binDirectory())) {
    std::string name = entry.path().filename().string();
    if (name == "gorvane" || name.find(".so") != std::string::npos) fs::copy(entry.path(), folder / name);
  }
  return folder;
}

TEST(Program, WithoutTheRightToBecomeRootItLogsTwoLinesReportsTheCheckAndStops) {
  if (getuid() != 0) GTEST_SKIP() << "needs root to start the program as another user";
  DemoGame game;
  auto env = game.environment();
  env.insert(env.begin(), "USER=somebody");
  auto folder = programOpenToEveryone();
  ProgramRun run = runProgram(folder / "gorvane", env, 65534);
  std::filesystem::remove_all(folder);
  EXPECT_EQ(run.signal, SIGABRT);
  auto out = lines(run.standardError);
  ASSERT_EQ(out.size(), 3u) << run.standardError;
  EXPECT_TRUE(std::regex_match(out[0], std::regex(logLine("Pre-uid User: somebody")))) << out[0];
  EXPECT_TRUE(std::regex_match(out[1], std::regex(logLine("uid: 65534")))) << out[1];
  EXPECT_EQ(out[2], "Assertion failed: (getuid() == 0), function main, file main, line 23.");
  EXPECT_FALSE(gameLockIsHeld(game.gameDataFolder()));
}

TEST(Program, SentToTheBackgroundItLetsTheGameGoAndExitsCleanly) {
  if (getuid() != 0) GTEST_SKIP() << "the program makes itself root";
  DemoGame game;
  bool sawLock = false;
  ProgramRun run = runProgram(DemoGame::binDirectory() / "gorvane", game.environment(), -1, [&] {
    sawLock = sawLock || gameLockIsHeld(game.gameDataFolder());
    return sawLock;
  });
  EXPECT_TRUE(sawLock) << "the running editor holds the game";
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_FALSE(gameLockIsHeld(game.gameDataFolder()));
  auto out = lines(run.standardError);
  ASSERT_EQ(out.size(), 3u) << "nothing but the three start-up lines:\n" << run.standardError;
  EXPECT_TRUE(std::regex_match(out[2], std::regex(logLine("Post-uid User: .*")))) << out[2];
}

TEST(Program, AGameHeldByAnotherEditorShowsTheErrorScreen) {
  if (getuid() != 0) GTEST_SKIP() << "the program makes itself root";
  DemoGame game;
  int holder = open(game.gameDataFolder().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  // The error screen waits for the user's "Okay": it is still up when the
  // test gives up after three seconds.
  ProgramRun run = runProgram(DemoGame::binDirectory() / "gorvane", game.environment(), -1, nullptr, 3);
  EXPECT_EQ(run.signal, SIGKILL);
  close(holder);
  auto out = lines(run.standardError);
  ASSERT_GE(out.size(), 4u) << run.standardError;
  EXPECT_TRUE(std::regex_match(
      out[3], std::regex(logLine("Initialization of Gorvane failed with exception: Another editor is using the "
                                 "game's data.*"))))
      << out[3];
  EXPECT_EQ(out.size(), 4u) << run.standardError;
}

}  // namespace
