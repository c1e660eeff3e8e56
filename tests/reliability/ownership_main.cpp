// Root writes into a game folder owned by an ordinary user, through every
// kind of write, and every file and folder it replaces or makes must belong
// to that user afterwards, with the mode of what it replaced (or, for a new
// file, no more than its folder allows). Prints one line per kind; exits 1
// on any fault, 77 when not run as root.
//
// usage: reliability_ownership
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "DemoGame.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKNumberTag.h"
#include "options/OptionTableViewCell.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t gameUser = 4242;
constexpr gid_t gameGroup = 4343;

struct Entry {
  ino_t inode;
  mode_t mode;
};

std::map<std::string, Entry> entries(const fs::path& root) {
  std::map<std::string, Entry> out;
  for (auto& entry : fs::recursive_directory_iterator(root)) {
    struct stat info;
    ::lstat(entry.path().c_str(), &info);
    out[entry.path().string()] = {info.st_ino, info.st_mode};
  }
  return out;
}

// Everything below root: owned by the game's user; what existed keeps its
// mode; a new file grants no permission that the files already beside it did
// not (all the game's files, in a new folder), a new folder none that the
// game's folders did not.
int judge(const fs::path& root, const std::map<std::string, Entry>& before, int& checked,
          std::vector<std::string>& faults) {
  int count = 0;
  for (auto& entry : fs::recursive_directory_iterator(root)) {
    struct stat info;
    ::lstat(entry.path().c_str(), &info);
    checked++;
    mode_t allowed = 0;
    bool folderIsNew = !before.count(entry.path().parent_path().string());
    for (auto& [other, was] : before) {
      bool sameKind = S_ISDIR(was.mode) == S_ISDIR(info.st_mode);
      bool beside = fs::path(other).parent_path() == entry.path().parent_path();
      if (sameKind && (beside || folderIsNew || S_ISDIR(info.st_mode))) allowed |= was.mode & 0777;
    }
    std::string path = fs::relative(entry.path(), root).string();
    auto fault = [&](const std::string& what) {
      count++;
      if (faults.size() < 5) faults.push_back(path + ": " + what);
    };
    if (info.st_uid != gameUser || info.st_gid != gameGroup) {
      fault("owned by " + std::to_string(info.st_uid) + ":" + std::to_string(info.st_gid));
    }
    auto old = before.find(entry.path().string());
    mode_t mode = info.st_mode & 07777;
    if (old != before.end() && (old->second.mode & 07777) != mode) {
      char text[64];
      std::snprintf(text, sizeof text, "mode %04o, was %04o", unsigned(mode), unsigned(old->second.mode & 07777));
      fault(text);
    } else if (old == before.end() && (mode & ~allowed) != 0) {
      char text[64];
      std::snprintf(text, sizeof text, "new with mode %04o where the game's allow %04o", unsigned(mode),
                    unsigned(allowed));
      fault(text);
    }
  }
  return count;
}

}  // namespace

int main() {
  if (::geteuid() != 0) {
    std::printf("ownership: skipped, needs root\n");
    return 77;
  }
  const std::string name = "Lakeside Survival";
  fs::path scratch = fs::temp_directory_path() / ("gorvane-ownership-" + std::to_string(::getpid()));
  fs::path gameData = scratch / "Documents/games/com.mojang";
  fs::path world = gameData / "minecraftWorlds" / name;
  fs::create_directories(world.parent_path());
  fs::copy(DemoGame::sourceDirectory() / "demo/sandbox/Documents/games/com.mojang/minecraftWorlds" / name, world,
           fs::copy_options::recursive);
  fs::copy(DemoGame::sourceDirectory() / "demo/sandbox/Documents/games/com.mojang/minecraftpe",
           gameData / "minecraftpe", fs::copy_options::recursive);
  ::setenv("TARNBOOK_GAME_SANDBOX", scratch.c_str(), 1);
  for (auto& entry : fs::recursive_directory_iterator(gameData)) {
    ::lchown(entry.path().c_str(), gameUser, gameGroup);
    ::chmod(entry.path().c_str(), entry.is_directory()                            ? 0750
                                  : entry.path().parent_path().filename() == "db" ? 0660
                                                                                  : 0640);
  }
  ::chown(gameData.c_str(), gameUser, gameGroup);
  ::chmod(gameData.c_str(), 0750);

  // The options file is written apart from any world, with its own backup;
  // the first write of each database object also makes a backup.
  fs::path backups = gameData / "gorvane-backups" / name;
  std::pair<const char*, std::function<bool()>> kinds[] = {
      {"options.txt", [] { return OptionTableViewCell::setValue("Alex", "mp_username"); }},
      {"level.dat",
       [&] {
         TBKLevelDB db(world.string(), name, backups.string());
         db.setLevelData(db.levelData());
         return true;
       }},
      {"player record",
       [&] {
         TBKLevelDB db(world.string(), name, backups.string());
         auto player = db.player();
         player->setValueForKey(TBKNumberTag::intTag("OwnershipMark", 1));
         db.setPlayer(player);
         return true;
       }},
  };
  int faults = 0;
  for (auto& [kind, write] : kinds) {
    auto before = entries(gameData);
    bool written = write();
    int checked = 0;
    std::vector<std::string> found;
    int count = judge(gameData, before, checked, found) + (written ? 0 : 1);
    faults += count;
    std::printf("ownership %s: %d files and folders checked, %d faults%s\n", kind, checked, count,
                written ? "" : " (the change was not written)");
    for (auto& fault : found) std::printf("  fault: %s\n", fault.c_str());
  }
  bool backupChecked = fs::exists(backups);
  std::printf("ownership backup: %s\n", backupChecked ? "made and checked with each write above" : "NOT MADE");
  fs::remove_all(scratch);
  return faults == 0 && backupChecked ? 0 : 1;
}
