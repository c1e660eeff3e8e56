// Kills every kind of write Gorvane makes at random moments and checks that
// each file is left old or new and whole, that the database still opens in
// the game's own LevelDB with every key, and that no temporary file is read
// as data. Prints one line per kind; exits 1 when any round left a fault.
//
// usage: reliability_kills [--kills N] [--seed S] [--scratch DIR]
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>

#include "DemoGame.h"
#include "Kills.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "WorldReader.h"
#include "options/OptionTableViewCell.h"

namespace fs = std::filesystem;

namespace {

const char* const worldName = "Lakeside Survival";

std::string levelNameOn(const fs::path& world) {
  return worldreader::readLevelDat(world / "level.dat").root.string("LevelName");
}

// The level.dat family: each of level.dat, level.dat_old and levelname.txt
// is whole and holds either the previous name or the round's.
struct LevelState {
  std::string name;
  std::string nameFile;

  std::string check(const fs::path& world, int round) {
    std::string wanted = "Kill " + std::to_string(round);
    std::string now = levelNameOn(world);
    if (now != name && now != wanted) return "level.dat holds the name \"" + now + "\"";
    if (fs::exists(world / "level.dat_old")) worldreader::readLevelDat(world / "level.dat_old");
    std::string file = worldreader::readFile(world / "levelname.txt");
    if (file != nameFile && file != wanted) return "levelname.txt holds \"" + file + "\"";
    // The library must read the real file, never a leftover temporary one.
    TBKLevelDB reader(world.string(), worldName, "");
    auto seen = reader.levelData()->stringForKey("LevelName");
    if (seen != now) return "the library reads \"" + seen + "\" where level.dat holds \"" + now + "\"";
    name = now;
    nameFile = file;
    return "";
  }
};

void renameLevel(const fs::path& world, const std::string& backups, int round) {
  TBKLevelDB db(world.string(), worldName, backups);
  auto level = db.levelData();
  level->setValueForKey(std::make_shared<TBKStringTag>("LevelName", "Kill " + std::to_string(round)));
  db.setLevelData(level);
}

KillKind levelKind(const fs::path& world) {
  auto state = std::make_shared<LevelState>();
  state->name = levelNameOn(world);
  state->nameFile = worldreader::readFile(world / "levelname.txt");
  return {"level.dat", [world](int round) { renameLevel(world, "", round); },
          [world, state](int round) { return state->check(world, round); }, world};
}

KillKind playerKind(const fs::path& world) {
  auto keys = std::make_shared<std::vector<std::string>>(worldreader::databaseKeys(world));
  auto mark = std::make_shared<int64_t>(-1);
  return {"player record",
          [world](int round) {
            TBKLevelDB db(world.string(), worldName, "");
            auto player = db.player();
            player->setValueForKey(TBKNumberTag::intTag("ReliabilityMark", round));
            db.setPlayer(player);
          },
          [world, keys, mark](int round) -> std::string {
            auto now = worldreader::databaseKeys(world);
            std::set<std::string> present(now.begin(), now.end());
            for (auto& key : *keys) {
              if (!present.count(key)) return "the database lost the key " + key;
            }
            TestTag player = worldreader::readPlayer(world);
            int64_t seen = player.has("ReliabilityMark") ? player.number("ReliabilityMark") : -1;
            if (seen != *mark && seen != round) return "the player holds the mark " + std::to_string(seen);
            *mark = seen;
            return "";
          },
          world};
}

// The first write of every database object backs the world up first.
KillKind backupKind(const fs::path& world, const fs::path& backups) {
  auto state = std::make_shared<LevelState>();
  state->name = levelNameOn(world);
  state->nameFile = worldreader::readFile(world / "levelname.txt");
  return {"backup", [world, backups](int round) { renameLevel(world, backups.string(), round); },
          [world, backups, state](int round) -> std::string {
            if (fs::exists(backups)) {
              for (auto& entry : fs::directory_iterator(backups)) {
                std::string name = entry.path().filename().string();
                if (name.front() == '.') continue;  // an interrupted one, named so that nobody restores it
                for (const char* file : {"level.dat", "levelname.txt", "local_player.nbt"}) {
                  if (!fs::exists(entry.path() / file)) return "the backup " + name + " has no " + file;
                }
                worldreader::readLevelDat(entry.path() / "level.dat");
                worldreader::parseNBT(worldreader::readFile(entry.path() / "local_player.nbt"));
              }
            }
            return state->check(world, round);
          },
          world.parent_path()};
}

// The options file through the option cell's own writer, with its backup
// before the first write of each run (each child is a run).
KillKind optionsKind(const fs::path& sandbox) {
  fs::path file = sandbox / "Documents/games/com.mojang/minecraftpe/options.txt";
  auto previous = std::make_shared<std::string>(worldreader::readFile(file));
  return {"options.txt",
          [](int round) {
            if (!OptionTableViewCell::setValue("Kill " + std::to_string(round), "mp_username")) {
              throw std::runtime_error("the options file refused the change");
            }
          },
          [file, previous](int round) -> std::string {
            std::string now = worldreader::readFile(file);
            std::string wanted = *previous;
            size_t at = wanted.find("mp_username:");
            size_t end = wanted.find('\n', at);
            wanted.replace(at + 12, end - at - 12, "Kill " + std::to_string(round));
            if (now != *previous && now != wanted) return "options.txt is neither the old nor the new file";
            auto backups = file.parent_path().parent_path() / "gorvane-backups" / "options";
            if (fs::exists(backups)) {
              for (auto& entry : fs::directory_iterator(backups)) {
                if (entry.path().filename().string().front() == '.') continue;
                std::string kept = worldreader::readFile(entry.path() / "options.txt");
                if (kept.find("mp_username:") == std::string::npos) return "a backup holds a partial options file";
              }
            }
            *previous = now;
            return "";
          },
          file.parent_path().parent_path()};
}

}  // namespace

int main(int argc, char** argv) {
  int kills = 1000;
  uint64_t seed = 20261207;
  fs::path scratch;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string option = argv[i];
    if (option == "--kills")
      kills = std::atoi(argv[i + 1]);
    else if (option == "--seed")
      seed = std::strtoull(argv[i + 1], nullptr, 10);
    else if (option == "--scratch")
      scratch = argv[i + 1];
  }
  if (scratch.empty()) scratch = fs::temp_directory_path() / ("gorvane-kills-" + std::to_string(::getpid()));
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  fs::path demoWorld =
      DemoGame::sourceDirectory() / "demo/sandbox/Documents/games/com.mojang/minecraftWorlds" / worldName;

  auto freshWorld = [&](const std::string& folder) {
    fs::path world = scratch / folder / worldName;
    fs::create_directories(world.parent_path());
    fs::copy(demoWorld, world, fs::copy_options::recursive);
    return world;
  };
  fs::path sandbox = scratch / "sandbox";
  fs::copy(DemoGame::sourceDirectory() / "demo/sandbox", sandbox, fs::copy_options::recursive);
  ::setenv("TARNBOOK_GAME_SANDBOX", sandbox.c_str(), 1);
  std::vector<KillKind> kinds = {levelKind(freshWorld("level")), playerKind(freshWorld("player")),
                                 backupKind(freshWorld("backup"), scratch / "backup" / "backups"),
                                 optionsKind(sandbox)};

  std::mt19937_64 random(seed);
  int faults = 0;
  for (size_t k = 0; k < kinds.size(); ++k) {
    int rounds = kills / int(kinds.size()) + (int(k) < kills % int(kinds.size()) ? 1 : 0);
    KillResult result = runKills(kinds[k], rounds, random);
    faults += result.faults;
    std::printf(
        "kills %s: %d rounds, %d killed midway, %d finished first; %d faults; %d left a temporary file; "
        "one change takes %.2f ms\n",
        result.kind.c_str(), result.rounds, result.killedMidway, result.finished, result.faults, result.leftovers,
        result.childMilliseconds);
    for (auto& fault : result.firstFaults) std::printf("  fault: %s\n", fault.c_str());
  }
  fs::remove_all(scratch);
  return faults == 0 ? 0 : 1;
}
