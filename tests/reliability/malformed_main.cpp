// Runs damaged worlds through the library as the screens use it (open, read
// the level, read the player, and for refused writes, write) and prints one
// Markdown table row per case: the case, the reason a user would read, and
// whether everything on disk stayed as it was. Exits 1 when a case wrote
// anything or gave no reason where it must refuse.
//
// usage: reliability_malformed
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "DemoGame.h"
#include "GameDatabase.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "WorldReader.h"
#include "records/OptionsFile.h"

namespace fs = std::filesystem;

namespace {

const char* const demoWorld = "Lakeside Survival";

void writeBytes(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

struct Case {
  std::string title;
  // Damages the world (or its surroundings); returns false to skip the case
  // (with the reason in `skipped`).
  std::function<bool(const fs::path& world, std::string& skipped)> damage;
  bool mustRefuse = true;  // reading or writing must raise; else it must read
  bool tryWrite = false;   // also hand the level back, as a screen's first change would
};

// Damage that a unit test of the library cannot show: what a screen does with
// the world as it lies on disk, and that it writes nothing while it refuses. A
// file system that refuses to make a file is WholeFile's and
// OptionsFile's; a full one fails in the middle of a write.
// How each damaged level.dat, NBT record and database file is refused, and a
// world the game holds, is pinned down by the library's own tests
// (TBKLevelFileTest, TBKNBTTest, TBKLevelDBTest).
std::vector<Case> cases() {
  return {
      {"a level name of invalid UTF-8 (kept as its bytes)",
       [](const fs::path& w, std::string&) {
         std::string name("\x03\x00\xff\xfe!", 5);  // its length, then the bytes
         writeBytes(w / "level.dat",
                    worldreader::withPayload(worldreader::readFile(w / "level.dat"), "LevelName", name, true));
         return true;
       },
       false},
      {"db/ without CURRENT", [](const fs::path& w, std::string&) { return fs::remove(w / "db" / "CURRENT"); }},
      {"a damaged player record",
       [](const fs::path& w, std::string&) {
         gamedatabase::open(w / "db")->Put(leveldb::WriteOptions(), "~local_player",
                                           std::string("\x0a\x00\x00\x08\x01\x00", 6));
         return true;
       }},
      {"a full disk",
       [](const fs::path& w, std::string& skipped) {
         // A 1 MB file system over the world's folder, the world put back on
         // it and what is left filled, so the next file written has no room.
         fs::path aside = w.parent_path().parent_path() / "aside";
         fs::rename(w, aside);
         if (::mount("tmpfs", w.parent_path().c_str(), "tmpfs", 0, "size=1m") != 0) {
           skipped = std::string("cannot mount a small file system (") + std::strerror(errno) + "; needs root)";
           return false;
         }
         fs::copy(aside, w, fs::copy_options::recursive);
         std::ofstream filler(w.parent_path() / "filler", std::ios::binary);
         for (std::string block(4096, 'x'); filler.write(block.data(), std::streamsize(block.size())).flush();) {}
         return true;
       },
       true, true},
  };
}

// An options file far longer than the game writes, but within what is read:
// the change reaches its value and no other byte. Damaged options files are
// OptionsText's and OptionsFile's.
int runLongOptionsFile(const fs::path& scratch) {
  fs::remove_all(scratch);
  fs::path file = scratch / "Documents/games/com.mojang/minecraftpe/options.txt";
  fs::create_directories(file.parent_path());
  std::string filler = "filler:" + std::string(16 << 20, 'x') + "\n";
  writeBytes(file, filler + "mp_username:Steve\n");
  ::setenv("TARNBOOK_GAME_SANDBOX", scratch.c_str(), 1);
  const OptionsFile options;
  bool good = options.value("mp_username", OptionsFile::Edit::Early) == "Steve" &&
              !options.write("mp_username", "Alex", OptionsFile::Edit::Early) &&
              worldreader::readFile(file) == filler + "mp_username:Alex\n";
  std::printf("| options.txt with a 16 MB line before the key | %s |\n", good ? "read and changed" : "NOT CHANGED");
  return good ? 0 : 1;
}

std::string cell(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '|' || c == '\n'; }, ' ');
  return text;
}

}  // namespace

int main() {
  fs::path scratch = fs::temp_directory_path() / ("gorvane-malformed-" + std::to_string(::getpid()));
  fs::path source = DemoGame::sourceDirectory() / "demo/sandbox/Documents/games/com.mojang/minecraftWorlds" / demoWorld;
  int failures = 0;
  std::printf("| damaged input | what the user reads | nothing written |\n|---|---|---|\n");
  for (auto& c : cases()) {
    fs::remove_all(scratch);
    fs::path world = scratch / "case" / demoWorld;
    fs::create_directories(world.parent_path());
    fs::copy(source, world, fs::copy_options::recursive);
    std::string skipped;
    if (!c.damage(world, skipped)) {
      std::printf("| %s | skipped: %s | - |\n", c.title.c_str(), cell(skipped).c_str());
      continue;
    }
    auto before = worldreader::snapshot(world);
    std::string reason;
    try {
      TBKLevelDB db(world.string(), demoWorld, "");
      auto level = db.levelData();
      if (c.tryWrite) db.setLevelData(level);
      db.player();
    } catch (const TBKException& error) {
      reason = error.reason();
    }
    std::string changed = worldreader::describeDifference(before, worldreader::snapshot(world));
    bool good = changed.empty() && (c.mustRefuse ? !reason.empty() : reason.empty());
    failures += !good;
    std::printf("| %s | %s | %s |\n", c.title.c_str(), cell(reason.empty() ? "(read as it is)" : reason).c_str(),
                changed.empty() ? "yes" : ("NO: " + changed).c_str());
    ::umount2(world.parent_path().c_str(), MNT_DETACH);  // the full disk's file system, where there is one
  }
  failures += runLongOptionsFile(scratch);
  fs::remove_all(scratch);
  std::printf("\nmalformed: %d faults\n", failures);
  return failures == 0 ? 0 : 1;
}
