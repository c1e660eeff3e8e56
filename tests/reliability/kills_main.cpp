// Kills every kind of write Gorvane makes at random moments and checks that
// each file is left old or new and whole, that the database still opens in
// the game's own LevelDB with every key, and that no temporary file is read
// as data. Prints one line per kind; exits 1 when any round left a fault.
//
// usage: reliability_kills [--kills N] [--seed S] [--scratch DIR] [--kind NAME]
// (--kind runs that kind alone, all N kills)
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <set>

#include "DemoGame.h"
#include "Tarnbook/TBKGameFile.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKLevelFile.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "WorldReader.h"
#include "options/OptionTableViewCell.h"

namespace fs = std::filesystem;

namespace {

// Kills a writer at random moments and judges what it left behind.
//
// One kind of write is run `kills` times, each time in a fresh child process
// that makes exactly one change and exits. The parent sends SIGKILL after a
// random delay, uniform over the time an unhindered child takes (measured
// first), then asks `check` whether the files are in a state the change
// allows: the old one or the new one, whole.
struct KillKind {
  std::string name;
  // Runs in the child: makes change number `round`.
  std::function<void(int round)> write;
  // Runs in the parent after each round; returns "" when what is on disk is
  // the state before round `round` or after it, else what is wrong.
  std::function<std::string(int round)> check;
  // Where leftovers of an interrupted write could lie (searched recursively).
  std::filesystem::path folder;
};

struct KillResult {
  std::string kind;
  int rounds = 0;
  int killedMidway = 0;  // killed before the child finished
  int finished = 0;      // the child was done before the kill
  int faults = 0;
  int leftovers = 0;  // rounds after which a temporary file was left
  double childMilliseconds = 0;
  std::vector<std::string> firstFaults;
};

pid_t startChild(const KillKind& kind, int round) {
  pid_t child = ::fork();
  if (child == 0) {
    int status = 0;
    try {
      kind.write(round);
    } catch (const std::exception& error) {
      std::cerr << kind.name << " round " << round << ": " << error.what() << "\n";
      status = 3;
    }
    ::_exit(status);  // no destructors, no atexit: the parent's objects are not ours
  }
  return child;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

int countLeftovers(const std::filesystem::path& folder) {
  int count = 0;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    std::string name = it->path().filename().string();
    if (name.find(".gorvane-tmp") != std::string::npos || name.rfind(".incomplete-", 0) == 0) ++count;
  }
  return count;
}

KillResult runKills(const KillKind& kind, int rounds, std::mt19937_64& random) {
  KillResult result;
  result.kind = kind.name;
  int round = 0;
  auto fault = [&](const std::string& what) {
    result.faults++;
    if (result.firstFaults.size() < 5) result.firstFaults.push_back(what);
  };

  // How long one unhindered change takes, so the kills spread over all of it.
  std::vector<double> durations;
  for (int i = 0; i < 5; ++i, ++round) {
    auto start = std::chrono::steady_clock::now();
    pid_t child = startChild(kind, round);
    int status = 0;
    ::waitpid(child, &status, 0);
    durations.push_back(millisecondsSince(start));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      fault("an unhindered change failed");
      return result;
    }
  }
  // The calibration's changes are the state the first kill starts from.
  std::string calibrated = kind.check(round - 1);
  if (!calibrated.empty()) {
    fault("after the unhindered changes: " + calibrated);
    return result;
  }
  std::sort(durations.begin(), durations.end());
  result.childMilliseconds = durations[durations.size() / 2];
  std::uniform_real_distribution<double> delay(0, result.childMilliseconds * 1.1);

  for (int i = 0; i < rounds; ++i, ++round) {
    pid_t child = startChild(kind, round);
    double wait = delay(random);
    timespec pause{time_t(wait / 1000), long(std::fmod(wait, 1000.0) * 1e6)};
    ::nanosleep(&pause, nullptr);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.rounds++;
    if (WIFSIGNALED(status)) {
      result.killedMidway++;
    } else {
      result.finished++;
      if (WEXITSTATUS(status) != 0) {
        fault("round " + std::to_string(round) + ": the change failed");
        continue;
      }
    }
    if (countLeftovers(kind.folder) > 0) result.leftovers++;
    std::string problem;
    try {
      problem = kind.check(round);
    } catch (const std::exception& error) {
      problem = error.what();
    }
    if (!problem.empty()) fault("round " + std::to_string(round) + ": " + problem);
  }
  return result;
}

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

void writeBytes(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// A backup of the world renamed `name`, its local player and one other
// player marked `mark`; with the world's level.dat as level.dat_old or
// without one.
struct KeptWorld {
  std::string name;
  int mark;
  bool withOld;
};
constexpr const char* otherPlayer = "player_server_kills-1";

fs::path keepWorld(const fs::path& world, const fs::path& folder, const KeptWorld& kept) {
  fs::create_directories(folder);
  std::string level = worldreader::readFile(world / "level.dat");
  TBKLevelFile file = TBKLevelFile::parse(level);
  file.root()->setValueForKey(std::make_shared<TBKStringTag>("LevelName", kept.name));
  writeBytes(folder / "level.dat", file.serialise());
  if (kept.withOld) writeBytes(folder / "level.dat_old", level);
  writeBytes(folder / "levelname.txt", kept.name);
  auto player = TBKNBT::parseCompound(*worldreader::readDatabaseValue(world, "~local_player"));
  player->setValueForKey(TBKNumberTag::intTag("ReliabilityMark", kept.mark));
  writeBytes(folder / "local_player.nbt", TBKNBT::serialise(*player));
  player->setValueForKey(TBKNumberTag::intTag("ReliabilityMark", kept.mark * 10));
  writeBytes(folder / (std::string(otherPlayer) + ".nbt"), TBKNBT::serialise(*player));
  return folder;
}

// Restores two backups in turn; every file and both player records must
// come from the same one, as Gorvane reads the world afterwards (a read
// completes a restore that was killed after it began).
KillKind restoreKind(const fs::path& world, const fs::path& kept) {
  std::string level = worldreader::readFile(world / "level.dat");
  const KeptWorld states[] = {{"Restore A", 1, true}, {"Restore B", 2, false}};
  auto folders = std::make_shared<std::vector<fs::path>>();
  folders->push_back(keepWorld(world, kept / "2026-01-01T00-00-00.000Z", states[0]));
  folders->push_back(keepWorld(world, kept / "2026-01-02T00-00-00.000Z", states[1]));
  auto last = std::make_shared<int>(-1);
  return {"world restore",
          [world, folders](int round) {
            // Never closed: closing waits for LevelDB's background thread,
            // which a child forked from this parent does not have once the
            // parent has started its own. The child ends with _exit anyway.
            auto* db = new TBKLevelDB(world.string(), worldName, (world.parent_path() / "backups").string());
            TBKBackup backup;
            backup.folder = (*folders)[size_t(round % 2)].string();
            db->restoreBackup(backup);
          },
          [world, level, states, last](int round) -> std::string {
            // Read as Gorvane reads the world, which also lets this process
            // compact the database the children only append to; closed
            // before the files are read, so no compaction runs under them.
            {
              TBKLevelDB reader(world.string(), worldName, "");
              reader.levelData();
              reader.player();
            }
            std::string name = levelNameOn(world);
            int found = name == states[0].name ? 0 : name == states[1].name ? 1 : -1;
            if (found < 0) return "level.dat holds the name \"" + name + "\"";
            if (found != round % 2 && found != *last && *last >= 0) return "level.dat went back two restores";
            const KeptWorld& state = states[found];
            if (worldreader::readFile(world / "levelname.txt") != name) return "levelname.txt does not match level.dat";
            if (fs::exists(world / "level.dat_old") != state.withOld ||
                (state.withOld && worldreader::readFile(world / "level.dat_old") != level)) {
              return "level.dat_old is not the one of " + name;
            }
            if (worldreader::readPlayer(world).number("ReliabilityMark") != state.mark) {
              return "the local player is not the one of " + name;
            }
            auto other = worldreader::parseNBT(*worldreader::readDatabaseValue(world, otherPlayer));
            if (other.number("ReliabilityMark") != state.mark * 10) return "the other player is not the one of " + name;
            *last = found;
            return "";
          },
          world.parent_path()};
}

// The options file restored from two backups in turn.
KillKind optionsRestoreKind(const fs::path& sandbox, const fs::path& kept) {
  fs::path file = sandbox / "Documents/games/com.mojang/minecraftpe/options.txt";
  std::string contents[2] = {worldreader::readFile(file) + "restored:a\n",
                             worldreader::readFile(file) + "restored:b\n"};
  for (int i = 0; i < 2; ++i) {
    fs::create_directories(kept / std::to_string(i));
    writeBytes(kept / std::to_string(i) / "options.txt", contents[i]);
  }
  auto last = std::make_shared<int>(-1);
  return {"options restore",
          [file, kept](int round) {
            TBKBackup backup;
            backup.folder = (kept / std::to_string(round % 2)).string();
            TBKGameFile(file.string(), "options").restoreBackup(backup);
          },
          [file, contents, last](int round) -> std::string {
            std::string now = worldreader::readFile(file);
            int found = now == contents[0] ? 0 : now == contents[1] ? 1 : -1;
            if (found < 0) return "options.txt is neither kept file";
            if (found != round % 2 && found != *last && *last >= 0) return "options.txt went back two restores";
            *last = found;
            return "";
          },
          file.parent_path().parent_path()};
}

}  // namespace

int main(int argc, char** argv) {
  int kills = 1000;
  uint64_t seed = 20261207;
  fs::path scratch;
  std::string only;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string option = argv[i];
    if (option == "--kills")
      kills = std::atoi(argv[i + 1]);
    else if (option == "--seed")
      seed = std::strtoull(argv[i + 1], nullptr, 10);
    else if (option == "--scratch")
      scratch = argv[i + 1];
    else if (option == "--kind")
      only = argv[i + 1];
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
  std::vector<KillKind> kinds = {levelKind(freshWorld("level")),
                                 playerKind(freshWorld("player")),
                                 backupKind(freshWorld("backup"), scratch / "backup" / "backups"),
                                 optionsKind(sandbox),
                                 restoreKind(freshWorld("restore"), scratch / "kept"),
                                 optionsRestoreKind(sandbox, scratch / "kept-options")};
  if (!only.empty()) {
    std::erase_if(kinds, [&](const KillKind& kind) { return kind.name != only; });
    if (kinds.empty()) {
      std::fprintf(stderr, "no kind of write is named \"%s\"\n", only.c_str());
      return 2;
    }
  }

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
