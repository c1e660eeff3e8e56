#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// A private copy of the bundled demo game for one test, with the game's two
// environment variables pointing at it while the object lives.
class DemoGame {
 public:
  DemoGame();
  ~DemoGame();
  DemoGame(const DemoGame&) = delete;
  DemoGame& operator=(const DemoGame&) = delete;

  std::filesystem::path app() const { return root_ / "app"; }
  std::filesystem::path sandbox() const { return root_ / "sandbox"; }
  std::filesystem::path gameDataFolder() const { return sandbox() / "Documents/games/com.mojang"; }
  std::vector<std::string> environment() const;

  static std::filesystem::path sourceDirectory();
  static std::filesystem::path binDirectory();

 private:
  std::filesystem::path root_;
};

// The result of running a program to its end.
struct ProgramRun {
  int exitStatus = -1;  // when it exited
  int signal = 0;       // when a signal ended it
  std::string standardError;

  // The standard error's lines, without their line feeds.
  std::vector<std::string> errorLines() const;
};

// Runs `program` on the offscreen platform with `extraEnvironment` added (as
// user `uid` when not -1), sends SIGTERM once `terminateWhen` answers true,
// and waits for its end, at most `timeoutSeconds` (then it is killed).
// `started`, when given, learns the process id as soon as there is one.
ProgramRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& extraEnvironment,
                      int uid = -1, std::function<bool()> terminateWhen = nullptr, double timeoutSeconds = 20,
                      int* started = nullptr);

// Whether someone holds the game lock on `folder` (tried without blocking).
bool gameLockIsHeld(const std::filesystem::path& folder);
