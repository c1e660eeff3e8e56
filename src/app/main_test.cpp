// The real program, started as a user would start it.
#include <unistd.h>

#include <csignal>
#include <regex>

#include <gtest/gtest.h>

#include "DemoGame.h"

namespace {

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
  auto out = run.errorLines();
  ASSERT_EQ(out.size(), 3u) << run.standardError;
  EXPECT_TRUE(std::regex_match(out[0], std::regex(logLine("Pre-uid User: somebody")))) << out[0];
  EXPECT_TRUE(std::regex_match(out[1], std::regex(logLine("uid: 65534")))) << out[1];
  EXPECT_EQ(out[2], "Assertion failed: (getuid() == 0), function main, file main, line 23.");
  EXPECT_FALSE(gameLockIsHeld(game.gameDataFolder()));
}

}  // namespace
