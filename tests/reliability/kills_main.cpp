// Kills every kind of write Gorvane makes at random moments and checks that
// each file is left old or new and whole, that the database still opens in
// the game's own LevelDB with every key, and that no temporary file is read
// as data. Prints one line per kind; exits 1 when any round left a fault.
//
// usage: reliability_kills [--kills N] [--seed S] [--scratch DIR]
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

#include "DemoGame.h"
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
// first), then reads what is on disk: each part the change writes on its own
// must hold what it held before the round or what the round writes, whole.
struct KillKind {
  std::string name;
  // Runs in the child: makes change number `round`.
  std::function<void(int round)> write;
  // Runs in the parent: what each part on disk holds, as a reader apart from
  // the writer sees it; raises on a part that is damaged or that disagrees
  // with another.
  std::function<std::vector<std::string>()> read;
  // What each part holds once change `round` is made.
  std::function<std::vector<std::string>(int round)> written;
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

// "" when every part holds what it held before (`last`) or what round
// `round` writes; then `last` becomes what is on disk.
std::string judge(const KillKind& kind, int round, std::vector<std::string>& last) {
  try {
    std::vector<std::string> now = kind.read(), wanted = kind.written(round);
    for (size_t part = 0; part < now.size(); ++part) {
      if (now[part] != last.at(part) && now[part] != wanted.at(part)) {
        return "found \"" + now[part] + "\" where \"" + last[part] + "\" or \"" + wanted[part] + "\" belongs";
      }
    }
    last = now;
    return "";
  } catch (const std::exception& error) {
    return error.what();
  }
}

// Prints a line on the kind's rounds after its first faults; returns how
// many rounds left a fault.
int runKills(const KillKind& kind, int rounds, std::mt19937_64& random) {
  int round = 0, killedMidway = 0, faults = 0;
  auto fault = [&](const std::string& what) {
    if (++faults <= 5) std::printf("  fault: %s\n", what.c_str());
  };

  // How long one unhindered change takes, so the kills spread over all of it.
  std::vector<double> durations;
  for (int i = 0; i < 5; ++i, ++round) {
    auto start = std::chrono::steady_clock::now();
    pid_t child = startChild(kind, round);
    int status = 0;
    ::waitpid(child, &status, 0);
    durations.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      fault("an unhindered change failed");
      return faults;
    }
  }
  // The calibration's last change is the state the first kill starts from.
  std::vector<std::string> last = kind.written(round - 1);
  std::string calibrated = judge(kind, round - 1, last);
  if (!calibrated.empty()) {
    fault("after the unhindered changes: " + calibrated);
    return faults;
  }
  std::sort(durations.begin(), durations.end());
  double childMilliseconds = durations[durations.size() / 2];
  std::uniform_real_distribution<double> delay(0, childMilliseconds * 1.1);

  for (int i = 0; i < rounds; ++i, ++round) {
    pid_t child = startChild(kind, round);
    double wait = delay(random);
    timespec pause{time_t(wait / 1000), long(std::fmod(wait, 1000.0) * 1e6)};
    ::nanosleep(&pause, nullptr);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) {
      killedMidway++;
    } else if (WEXITSTATUS(status) != 0) {
      fault("round " + std::to_string(round) + ": the change failed");
      continue;
    }
    std::string problem = judge(kind, round, last);
    if (!problem.empty()) fault("round " + std::to_string(round) + ": " + problem);
  }
  std::printf("kills %s: %d rounds, %d killed midway, %d finished first; %d faults; one change takes %.2f ms\n",
              kind.name.c_str(), rounds, killedMidway, rounds - killedMidway, faults, childMilliseconds);
  return faults;
}

const char* const worldName = "Lakeside Survival";

std::string levelNameOn(const fs::path& world) {
  return worldreader::readLevelDat(world / "level.dat").root.string("LevelName");
}

std::string killName(int round) { return "Kill " + std::to_string(round); }

// Renames the world, through a database object that backs the world up into
// `backups` before its first write (none when empty). The parts: the name in
// level.dat and in levelname.txt; level.dat_old must be whole, every backup
// complete.
KillKind levelKind(const std::string& name, const fs::path& world, const fs::path& backups) {
  return {name,
          [world, backups](int round) {
            TBKLevelDB db(world.string(), worldName, backups.string());
            auto level = db.levelData();
            level->setValueForKey(std::make_shared<TBKStringTag>("LevelName", killName(round)));
            db.setLevelData(level);
          },
          [world, backups]() -> std::vector<std::string> {
            if (!backups.empty() && fs::exists(backups)) {
              for (auto& entry : fs::directory_iterator(backups)) {
                std::string name = entry.path().filename().string();
                if (name.front() == '.') continue;  // an interrupted one, named so that nobody restores it
                worldreader::readLevelDat(entry.path() / "level.dat");
                worldreader::readFile(entry.path() / "levelname.txt");
                worldreader::parseNBT(worldreader::readFile(entry.path() / "local_player.nbt"));
              }
            }
            std::string now = levelNameOn(world);
            if (fs::exists(world / "level.dat_old")) worldreader::readLevelDat(world / "level.dat_old");
            // The library must read the real file, never a leftover temporary one.
            std::string seen = TBKLevelDB(world.string(), worldName, "").levelData()->stringForKey("LevelName");
            if (seen != now)
              throw std::runtime_error("the library reads \"" + seen + "\" where level.dat holds \"" + now + "\"");
            return {now, worldreader::readFile(world / "levelname.txt")};
          },
          [](int round) {
            return std::vector<std::string>{killName(round), killName(round)};
          }};
}

// Marks the local player; the database must keep every key it had.
KillKind playerKind(const fs::path& world) {
  std::vector<std::string> keys = worldreader::databaseKeys(world);
  return {"player record",
          [world](int round) {
            TBKLevelDB db(world.string(), worldName, "");
            auto player = db.player();
            player->setValueForKey(TBKNumberTag::intTag("ReliabilityMark", round));
            db.setPlayer(player);
          },
          [world, keys]() -> std::vector<std::string> {
            auto now = worldreader::databaseKeys(world);
            for (auto& key : keys) {
              if (!std::binary_search(now.begin(), now.end(), key)) {
                throw std::runtime_error("the database lost the key " + key);
              }
            }
            return {std::to_string(worldreader::readPlayer(world).number("ReliabilityMark"))};
          },
          [](int round) { return std::vector<std::string>{std::to_string(round)}; }};
}

// The options file through the option cell's own writer, with its backup
// before the first write of each run (each child is a run; the backup is
// written as a world's, which the backup kind checks). The parts: the user
// name and the rest of the file.
KillKind optionsKind(const fs::path& sandbox) {
  fs::path file = sandbox / "Documents/games/com.mojang/minecraftpe/options.txt";
  auto split = [file]() -> std::vector<std::string> {
    std::string text = worldreader::readFile(file);
    size_t at = text.find("mp_username:");
    if (at == std::string::npos) throw std::runtime_error("options.txt lost mp_username");
    size_t end = text.find('\n', at);
    std::string value = text.substr(at + 12, end - at - 12);
    return {value, text.erase(at + 12, end - at - 12)};
  };
  std::string rest = split()[1];
  return {"options.txt",
          [](int round) {
            if (!OptionTableViewCell::setValue(killName(round), "mp_username")) {
              throw std::runtime_error("the options file refused the change");
            }
          },
          split,
          [rest](int round) {
            return std::vector<std::string>{killName(round), rest};
          }};
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
// completes a restore that was killed after it began). The part: the name of
// the backup the world holds.
KillKind restoreKind(const fs::path& world, const fs::path& kept) {
  std::string level = worldreader::readFile(world / "level.dat");
  const KeptWorld states[] = {{"Restore A", 1, true}, {"Restore B", 2, false}};
  std::vector<fs::path> folders = {keepWorld(world, kept / "2026-01-01T00-00-00.000Z", states[0]),
                                   keepWorld(world, kept / "2026-01-02T00-00-00.000Z", states[1])};
  return {
      "world restore",
      [world, folders](int round) {
        // Never closed: closing waits for LevelDB's background thread,
        // which a child forked from this parent does not have once the
        // parent has started its own. The child ends with _exit anyway.
        auto* db = new TBKLevelDB(world.string(), worldName, (world.parent_path() / "backups").string());
        TBKBackup backup;
        backup.folder = folders[size_t(round % 2)].string();
        db->restoreBackup(backup);
      },
      [world, level, states]() -> std::vector<std::string> {
        // Read as Gorvane reads the world, which also lets this process
        // compact the database the children only append to; closed
        // before the files are read, so no compaction runs under them.
        {
          TBKLevelDB reader(world.string(), worldName, "");
          reader.levelData();
          reader.player();
        }
        std::string name = levelNameOn(world);
        auto mixed = [&](const std::string& what) { throw std::runtime_error(what + " is not the one of " + name); };
        const KeptWorld* state = name == states[0].name ? &states[0] : name == states[1].name ? &states[1] : nullptr;
        if (!state) throw std::runtime_error("level.dat holds the name \"" + name + "\"");
        if (worldreader::readFile(world / "levelname.txt") != name) mixed("levelname.txt");
        if (fs::exists(world / "level.dat_old") != state->withOld ||
            (state->withOld && worldreader::readFile(world / "level.dat_old") != level)) {
          mixed("level.dat_old");
        }
        if (worldreader::readPlayer(world).number("ReliabilityMark") != state->mark) mixed("the local player");
        auto other = worldreader::parseNBT(*worldreader::readDatabaseValue(world, otherPlayer));
        if (other.number("ReliabilityMark") != state->mark * 10) mixed("the other player");
        return {name};
      },
      [states](int round) { return std::vector<std::string>{states[round % 2].name}; }};
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
  // An options restore is not killed apart: it writes its undo backup and the
  // file as an options change does.
  std::vector<KillKind> kinds = {levelKind("level.dat", freshWorld("level"), ""), playerKind(freshWorld("player")),
                                 levelKind("backup", freshWorld("backup"), scratch / "backup" / "backups"),
                                 optionsKind(sandbox), restoreKind(freshWorld("restore"), scratch / "kept")};

  std::mt19937_64 random(seed);
  int faults = 0;
  for (size_t k = 0; k < kinds.size(); ++k) {
    int rounds = kills / int(kinds.size()) + (int(k) < kills % int(kinds.size()) ? 1 : 0);
    faults += runKills(kinds[k], rounds, random);
  }
  fs::remove_all(scratch);
  return faults == 0 ? 0 : 1;
}
