// Root writes the options file in a game folder owned by an ordinary user,
// through the options screen's writer, and every file and folder it replaces
// or makes must belong to that user afterwards, with the mode of what it
// replaced (or, for a new one, no more than the game's own did). Exits 1 on
// any fault, 77 when not run as root.
//
// usage: reliability_ownership
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "DemoGame.h"
#include "records/OptionsFile.h"

namespace fs = std::filesystem;

int main() {
  if (::geteuid() != 0) {
    std::printf("ownership: skipped, needs root\n");
    return 77;
  }
  constexpr uid_t gameUser = 4242;
  constexpr gid_t gameGroup = 4343;
  fs::path scratch = fs::temp_directory_path() / ("gorvane-ownership-" + std::to_string(::getpid()));
  fs::path gameData = scratch / "Documents/games/com.mojang";
  fs::create_directories(gameData);
  fs::copy(DemoGame::sourceDirectory() / "demo/sandbox/Documents/games/com.mojang/minecraftpe",
           gameData / "minecraftpe", fs::copy_options::recursive);
  ::setenv("TARNBOOK_GAME_SANDBOX", scratch.c_str(), 1);
  // Every file and folder below the game's folder with its stat, by path.
  auto stats = [&] {
    std::map<fs::path, struct stat> out;
    for (auto& entry : fs::recursive_directory_iterator(gameData)) ::lstat(entry.path().c_str(), &out[entry.path()]);
    return out;
  };
  for (auto& [path, info] : stats()) {
    ::lchown(path.c_str(), gameUser, gameGroup);
    ::chmod(path.c_str(), S_ISDIR(info.st_mode) ? 0750 : 0640);
  }
  ::chown(gameData.c_str(), gameUser, gameGroup);
  ::chmod(gameData.c_str(), 0750);

  // The options file is written apart from any world, with its own backup
  // made before the first write (the worlds' writes and backups are
  // TBKLevelDBTest's and WorldsForNobody's). Everything below must then be
  // the game's user's; what existed keeps its mode; what is new grants
  // nothing the game's own folders (0750) and files (0640) did not.
  auto before = stats();
  bool written = !OptionsFile().write("mp_username", "Alex", OptionsFile::Edit::Early);
  int faults = written ? 0 : 1;
  for (auto& [path, info] : stats()) {
    mode_t mode = info.st_mode & 07777;
    auto old = before.find(path);
    bool good = info.st_uid == gameUser && info.st_gid == gameGroup &&
                (old != before.end() ? mode == (old->second.st_mode & 07777)
                                     : (mode & ~mode_t(S_ISDIR(info.st_mode) ? 0750 : 0640)) == 0);
    if (!good) {
      std::printf("  fault: %s: owned by %u:%u, mode %04o\n", fs::relative(path, gameData).c_str(),
                  unsigned(info.st_uid), unsigned(info.st_gid), unsigned(mode));
    }
    faults += !good;
  }
  std::printf("ownership options.txt: %d faults%s\n", faults, written ? "" : " (the change was not written)");
  bool backupChecked = fs::exists(gameData / "gorvane-backups" / "options");
  std::printf("ownership backup: %s\n", backupChecked ? "made and checked with the write above" : "NOT MADE");
  fs::remove_all(scratch);
  return faults == 0 && backupChecked ? 0 : 1;
}
