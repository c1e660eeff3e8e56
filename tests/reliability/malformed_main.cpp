// Runs damaged worlds through the library as the screens use it (open, read
// the level, read the player, and for refused writes, write) and prints one
// Markdown table row per case: the case, the reason a user would read, and
// whether everything on disk stayed as it was. Exits 1 when a case wrote
// anything or gave no reason where it must refuse.
//
// usage: reliability_malformed
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>

#include "DemoGame.h"
#include "GameDatabase.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "WorldReader.h"
#include "options/OptionTableViewCell.h"

namespace fs = std::filesystem;

namespace {

const char* const demoWorld = "Lakeside Survival";

std::string le32(int32_t value) { return worldreader::littleEndian(value, 4); }
std::string le16(uint16_t value) { return worldreader::littleEndian(value, 2); }
std::string named(uint8_t type, const std::string& name) {
  return std::string(1, char(type)) + le16(uint16_t(name.size())) + name;
}
std::string levelDat(const std::string& payload) { return le32(8) + le32(int32_t(payload.size())) + payload; }
void writeBytes(const fs::path& file, const std::string& bytes) {
  fs::remove(file);
  FILE* out = std::fopen(file.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fclose(out);
}

// Every file of the world with its bytes, and the folders themselves. The
// database is taken by what it holds, key by key: LevelDB rewrites its own
// files whenever anyone opens it (the game too), without changing a record.
std::map<std::string, std::string> snapshot(const fs::path& world) {
  std::map<std::string, std::string> files;
  bool databaseReadable = true;
  std::map<std::string, std::string> records;
  try {
    for (auto& key : worldreader::databaseKeys(world))
      records["db record " + key] = *worldreader::readDatabaseValue(world, key);
  } catch (const std::exception&) {
    databaseReadable = false;
  }
  for (auto& entry : fs::recursive_directory_iterator(world)) {
    std::string key = fs::relative(entry.path(), world).string();
    if (databaseReadable && key.rfind("db/", 0) == 0) continue;
    files[key] = entry.is_regular_file() ? worldreader::readFile(entry.path()) : "<folder>";
  }
  files.merge(records);
  return files;
}

std::string describeDifference(const std::map<std::string, std::string>& before,
                               const std::map<std::string, std::string>& after) {
  for (auto& [name, bytes] : after) {
    auto it = before.find(name);
    if (it == before.end()) return "added " + name;
    if (it->second != bytes) return "changed " + name;
  }
  for (auto& [name, bytes] : before) {
    if (!after.count(name)) return "removed " + name;
  }
  return "";
}

struct Case {
  std::string title;
  // Damages the world (or its surroundings); returns false to skip the case
  // (with the reason in `skipped`).
  std::function<bool(const fs::path& world, std::string& skipped)> damage;
  bool mustRefuse = true;  // reading or writing must raise; else it must read
  bool tryWrite = false;   // also hand the level back, as a screen's first change would
  std::function<void(const fs::path& world)> cleanUp = nullptr;
};

// Mounts a small file system over the world's parent folder and puts the
// world back on it.
bool moveOntoSmallFileSystem(const fs::path& world, const char* options, std::string& skipped) {
  fs::path aside = world.parent_path().parent_path() / "aside";
  fs::rename(world, aside);
  if (::mount("tmpfs", world.parent_path().c_str(), "tmpfs", 0, options) != 0) {
    skipped = std::string("cannot mount a small file system (") + std::strerror(errno) + "; needs root)";
    return false;
  }
  fs::copy(aside, world, fs::copy_options::recursive);
  return true;
}

// Damage that replaces level.dat with bytes made from the real file's, with
// no level.dat_old to fall back on.
std::function<bool(const fs::path&, std::string&)> levelDatOf(std::function<std::string(const std::string&)> bytes) {
  return [bytes](const fs::path& w, std::string&) {
    writeBytes(w / "level.dat", bytes(worldreader::readFile(w / "level.dat")));
    fs::remove(w / "level.dat_old");
    return true;
  };
}

std::vector<Case> cases(pid_t& holder) {
  auto compound = [](const std::string& children) { return named(10, "") + children + std::string(1, '\0'); };
  auto deep = [](const std::string&) {
    std::string deep = named(10, "");
    for (int i = 0; i < 100000; ++i) deep += named(10, "c");
    return levelDat(deep);
  };
  return {
      {"level.dat cut short, no level.dat_old",
       levelDatOf([](const std::string& bytes) { return bytes.substr(0, bytes.size() / 2); })},
      {"a string longer than the file", levelDatOf([](const std::string&) {
         return levelDat(named(10, "") + named(8, "LevelName") + le16(60000) + "short");
       })},
      {"a list of 2,147,483,647 entries", levelDatOf([](const std::string&) {
         return levelDat(named(10, "") + named(9, "L") + char(3) + le32(INT32_MAX) + "xx");
       })},
      {"compounds nested 100,000 deep", levelDatOf(deep)},
      {"the root is a list, not a compound",
       levelDatOf([](const std::string&) { return levelDat(named(9, "") + char(1) + le32(1) + char(7)); })},
      {"the header's length lies", levelDatOf([](const std::string& bytes) {
         return bytes.substr(0, 4) + le32(int32_t(bytes.size())) + bytes.substr(8);
       })},
      {"a level name of invalid UTF-8 (kept as its bytes)", levelDatOf([compound](const std::string&) {
         return levelDat(compound(named(8, "LevelName") + le16(3) + "\xff\xfe!"));
       }),
       false},
      {"no LevelName, GameType or LastPlayed (read as empty and 0)",
       levelDatOf([compound](const std::string&) { return levelDat(compound(named(1, "Other") + char(1))); }), false},
      {"db/ without CURRENT", [](const fs::path& w, std::string&) { return fs::remove(w / "db" / "CURRENT"); }},
      {"a damaged player record",
       [](const fs::path& w, std::string&) {
         gamedatabase::open(w / "db")->Put(leveldb::WriteOptions(), "~local_player",
                                           std::string("\x0a\x00\x00\x08\x01\x00", 6));
         return true;
       }},
      {"the database is held open by the game",
       [&](const fs::path& w, std::string&) {
         holder = gamedatabase::holdGameLock(w);
         return true;
       },
       true, false, [&](const fs::path&) { gamedatabase::endChild(holder); }},
      {"a read-only file system",
       [](const fs::path& w, std::string& skipped) {
         if (!moveOntoSmallFileSystem(w, "size=4m", skipped)) return false;
         if (::mount(nullptr, w.parent_path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
           skipped = std::string("cannot make it read-only: ") + std::strerror(errno);
           return false;
         }
         return true;
       },
       true, true, [](const fs::path& w) { ::umount2(w.parent_path().c_str(), MNT_DETACH); }},
      {"a full disk",
       [](const fs::path& w, std::string& skipped) {
         if (!moveOntoSmallFileSystem(w, "size=1m", skipped)) return false;
         // Fill what is left, so the next file written has no room.
         FILE* filler = std::fopen((w.parent_path() / "filler").c_str(), "wb");
         std::string block(4096, 'x');
         while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {}
         std::fclose(filler);
         return true;
       },
       true, true, [](const fs::path& w) { ::umount2(w.parent_path().c_str(), MNT_DETACH); }},
  };
}

// A damaged options file: what the options screen would read for one key,
// and what the file holds after a change to it (none: it is refused).
struct OptionsCase {
  std::string title;
  std::optional<std::string> file;  // none: there is no options file
  std::optional<std::string> after;
};

std::vector<OptionsCase> optionsCases() {
  std::string big(16 << 20, 'x');
  return {
      {"options.txt that is not UTF-8", "mp_username:Ste\xffve\ngame_difficulty:2\n", std::nullopt},
      {"options.txt without the key", "game_difficulty:2\n", std::nullopt},
      {"no options.txt at all", std::nullopt, std::nullopt},
      {"options.txt whose last line has no line feed", "game_difficulty:2\nmp_username:Steve",
       "game_difficulty:2\nmp_username:Alex"},
      {"options.txt with a 16 MB line before the key", "filler:" + big + "\nmp_username:Steve\n",
       "filler:" + big + "\nmp_username:Alex\n"},
      {"a user name that spells another key", "mp_username:gfx_fancygraphics:1\ngfx_fancygraphics:0\n",
       "mp_username:Alex\ngfx_fancygraphics:0\n"},
  };
}

int runOptionsCase(const OptionsCase& c, const fs::path& scratch) {
  fs::remove_all(scratch);
  fs::path file = scratch / "Documents/games/com.mojang/minecraftpe/options.txt";
  fs::create_directories(file.parent_path());
  if (c.file) writeBytes(file, *c.file);
  ::setenv("TARNBOOK_GAME_SANDBOX", scratch.c_str(), 1);
  auto before = snapshot(scratch);
  auto value = OptionTableViewCell::valueForKey("mp_username");
  bool written = OptionTableViewCell::setValue("Alex", "mp_username");
  std::string changed = describeDifference(before, snapshot(scratch));
  std::string outcome = value ? "reads \"" + (value->size() > 40 ? value->substr(0, 40) + "..." : *value) + "\"; "
                              : "no value: the row shows dimmed and takes no input; ";
  outcome += written ? "the change is written" : "a change is refused";
  bool good = c.after ? written && worldreader::readFile(file) == *c.after : !written && changed.empty();
  std::printf("| %s | %s | %s |\n", c.title.c_str(), outcome.c_str(),
              written ? "only the value's bytes changed" : (changed.empty() ? "yes" : ("NO: " + changed).c_str()));
  return good ? 0 : 1;
}

std::string cell(std::string text) {
  for (char& c : text) {
    if (c == '|' || c == '\n') c = ' ';
  }
  return text;
}

}  // namespace

int main() {
  fs::path scratch = fs::temp_directory_path() / ("gorvane-malformed-" + std::to_string(::getpid()));
  fs::path source = DemoGame::sourceDirectory() / "demo/sandbox/Documents/games/com.mojang/minecraftWorlds" / demoWorld;
  pid_t holder = -1;
  int failures = 0;
  std::printf("| damaged input | what the user reads | nothing written |\n|---|---|---|\n");
  for (auto& c : cases(holder)) {
    fs::remove_all(scratch);
    fs::path world = scratch / "case" / demoWorld;
    fs::create_directories(world.parent_path());
    fs::copy(source, world, fs::copy_options::recursive);
    std::string skipped;
    if (!c.damage(world, skipped)) {
      std::printf("| %s | skipped: %s | - |\n", c.title.c_str(), cell(skipped).c_str());
      if (c.cleanUp) c.cleanUp(world);
      continue;
    }
    auto before = snapshot(world);
    std::string reason;
    try {
      TBKLevelDB db(world.string(), demoWorld, "");
      auto level = db.levelData();
      if (c.tryWrite) db.setLevelData(level);
      db.player();
    } catch (const TBKException& error) {
      reason = error.reason();
    }
    std::string changed = describeDifference(before, snapshot(world));
    bool good = changed.empty() && (c.mustRefuse ? !reason.empty() : reason.empty());
    failures += !good;
    std::printf("| %s | %s | %s |\n", c.title.c_str(), cell(reason.empty() ? "(read as it is)" : reason).c_str(),
                changed.empty() ? "yes" : ("NO: " + changed).c_str());
    if (c.cleanUp) c.cleanUp(world);
  }
  for (auto& c : optionsCases()) failures += runOptionsCase(c, scratch);
  fs::remove_all(scratch);
  std::printf("\nmalformed: %d faults\n", failures);
  return failures == 0 ? 0 : 1;
}
