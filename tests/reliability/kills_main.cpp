// Kills every kind of write Gorvane makes at random moments and checks that
// each file is left old or new and whole, that the database still opens in
// the game's own LevelDB with every key, and that no temporary file is read
// as data. Prints one line per kind; exits 1 when any round left a fault.
//
// usage: reliability_kills [--kills N | --per-kind N] [--seed S] [--scratch DIR] [--only NAME_START]
// --kills shares N among the kinds; --per-kind gives each kind N.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <thread>

#include "DemoGame.h"
#include "Tarnbook/TBKBlockEntities.h"
#include "Tarnbook/TBKEntities.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "Tarnbook/TBKWholeWorld.h"
#include "Tarnbook/TBKWorldArchive.h"
#include "WorldReader.h"
#include "records/MapPlaces.h"
#include "records/OptionsFile.h"

namespace fs = std::filesystem;
using Parts = std::vector<std::string>;

namespace {

// One kind of write. Each round, a fresh child makes change `round` and is
// sent SIGKILL after a random delay, uniform over the time an unhindered
// change takes. `read` then gives what each part the change writes on its
// own holds, as a reader apart from the writer sees it (raising on a part
// that is damaged), and each must hold what it held before the round or
// `written(round)`, whole.
struct KillKind {
  std::string name;
  std::function<void(int round)> write;
  std::function<Parts()> read;
  std::function<Parts(int round)> written;
};

// Prints a line on the kind's rounds after its first faults; returns how
// many rounds left a fault.
int runKills(const KillKind& kind, int rounds, std::mt19937_64& random) {
  int faults = 0, killedMidway = 0;
  auto fault = [&](const std::string& what) {
    if (++faults <= 5) std::printf("  fault: %s\n", what.c_str());
  };
  // Change `round` in a child, killed after `wait` ms unless `wait` is
  // negative; the child's wait status.
  auto run = [&](int round, double wait) {
    pid_t child = ::fork();
    if (child == 0) {
      try {
        kind.write(round);
      } catch (const std::exception& error) {
        std::fprintf(stderr, "%s round %d: %s\n", kind.name.c_str(), round, error.what());
        ::_exit(3);
      }
      ::_exit(0);  // no destructors, no atexit: the parent's objects are not ours
    }
    if (wait >= 0) {
      std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(wait));
      ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
  };
  Parts last;
  // "" when every part holds `last` or what `round` writes; then `last`
  // becomes what is on disk.
  auto judge = [&](int round) -> std::string {
    try {
      Parts now = kind.read(), wanted = kind.written(round);
      for (size_t part = 0; part < now.size(); ++part) {
        if (now[part] != last.at(part) && now[part] != wanted.at(part))
          return "found \"" + now[part] + "\" where \"" + last[part] + "\" or \"" + wanted[part] + "\" belongs";
      }
      last = now;
      return "";
    } catch (const std::exception& error) {
      return error.what();
    }
  };

  // Five unhindered changes time one; the last is where the first kill starts.
  std::vector<double> durations;
  int round = 0;
  for (; round < 5; ++round) {
    auto start = std::chrono::steady_clock::now();
    int status = run(round, -1);  // 0: it exited, and with 0
    durations.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (status != 0) {
      fault("an unhindered change failed");
      return faults;
    }
  }
  last = kind.written(round - 1);
  if (std::string problem = judge(round - 1); !problem.empty()) {
    fault("after the unhindered changes: " + problem);
    return faults;
  }
  std::sort(durations.begin(), durations.end());
  std::uniform_real_distribution<double> delay(0, durations[2] * 1.1);

  for (int end = round + rounds; round < end; ++round) {
    int status = run(round, delay(random));
    killedMidway += WIFSIGNALED(status);
    std::string problem = WIFEXITED(status) && WEXITSTATUS(status) != 0 ? "the change failed" : judge(round);
    if (!problem.empty()) fault("round " + std::to_string(round) + ": " + problem);
  }
  std::printf("kills %s: %d rounds, %d killed midway, %d finished first; %d faults; one change takes %.2f ms\n",
              kind.name.c_str(), rounds, killedMidway, rounds - killedMidway, faults, durations[2]);
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
          [world, backups]() -> Parts {
            if (!backups.empty() && fs::exists(backups)) {
              for (auto& entry : fs::directory_iterator(backups)) {
                if (entry.path().filename().string().front() == '.') continue;  // interrupted, so never restored
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
            return Parts{killName(round), killName(round)};
          }};
}

// Sets the local player's score; the database must keep every key it had.
KillKind playerKind(const fs::path& world) {
  std::vector<std::string> keys = worldreader::databaseKeys(world);
  return {"player record",
          [world](int round) {
            TBKLevelDB db(world.string(), worldName, "");
            auto player = db.player();
            player->setValueForKey(TBKNumberTag::intTag("Score", round));
            db.setPlayer(player);
          },
          [world, keys]() -> Parts {
            auto now = worldreader::databaseKeys(world);
            for (auto& key : keys) {
              if (!std::binary_search(now.begin(), now.end(), key))
                throw std::runtime_error("the database lost the key " + key);
            }
            return {std::to_string(worldreader::readPlayer(world).number("Score"))};
          },
          [](int round) { return Parts{std::to_string(round)}; }};
}

// The options file through the options screen's own writer, with its backup
// before the first write of each run (each child is a run; the backup is
// written as a world's, which the backup kind checks). The parts: the user
// name and the rest of the file.
KillKind optionsKind(const fs::path& sandbox) {
  fs::path file = sandbox / "Documents/games/com.mojang/minecraftpe/options.txt";
  auto split = [file]() -> Parts {
    std::string text = worldreader::readFile(file);
    size_t at = text.find("mp_username:");
    if (at == std::string::npos) throw std::runtime_error("options.txt lost mp_username");
    size_t end = text.find('\n', at += 12);
    return {text.substr(at, end - at), text.erase(at, end - at)};
  };
  return {"options.txt",
          [](int round) {
            if (auto refusal = OptionsFile().write("mp_username", killName(round), OptionsFile::Edit::Early))
              throw std::runtime_error(refusal->reason);
          },
          split,
          [rest = split()[1]](int round) {
            return Parts{killName(round), rest};
          }};
}

void writeBytes(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// A backup of `world` renamed `name`, whose local player has the score
// `mark` and one other player `mark * 10`; with the world's level.dat as
// level.dat_old when `withOld`.
fs::path keepWorld(const fs::path& world, const fs::path& folder, const std::string& name, int mark, bool withOld) {
  using worldreader::littleEndian, worldreader::withPayload;
  fs::create_directories(folder);
  std::string level = worldreader::readFile(world / "level.dat");
  std::string player = *worldreader::readDatabaseValue(world, "~local_player");
  writeBytes(folder / "level.dat", withPayload(level, "LevelName", littleEndian(int64_t(name.size()), 2) + name, true));
  if (withOld) writeBytes(folder / "level.dat_old", level);
  writeBytes(folder / "levelname.txt", name);
  writeBytes(folder / "local_player.nbt", withPayload(player, "Score", littleEndian(mark, 4)));
  writeBytes(folder / "player_server_kills-1.nbt", withPayload(player, "Score", littleEndian(mark * 10, 4)));
  return folder;
}

// Restores two backups in turn, as Gorvane reads the world afterwards (a read
// completes a restore that was killed after it began). One part: every file
// and both player records, which must all come from the same backup.
KillKind restoreKind(const fs::path& world, const fs::path& kept) {
  std::string level = worldreader::readFile(world / "level.dat");
  std::vector<fs::path> folders = {keepWorld(world, kept / "2026-01-01T00-00-00.000Z", "Restore A", 1, true),
                                   keepWorld(world, kept / "2026-01-02T00-00-00.000Z", "Restore B", 2, false)};
  return {"world restore",
          [world, folders](int round) {
            // Never closed: closing waits for LevelDB's background thread,
            // which a child forked from this parent does not have once the
            // parent has started its own. The child ends with _exit anyway.
            auto* db = new TBKLevelDB(world.string(), worldName, (world.parent_path() / "backups").string());
            TBKBackup backup;
            backup.folder = folders[size_t(round % 2)].string();
            db->restoreBackup(backup);
          },
          [world, level]() -> Parts {
            // Read as Gorvane reads the world, which also lets this process
            // compact the database the children only append to; closed
            // before the files are read, so no compaction runs under them.
            {
              TBKLevelDB reader(world.string(), worldName, "");
              reader.levelData();
              reader.player();
            }
            std::string old = !fs::exists(world / "level.dat_old")                      ? "no level.dat_old"
                              : worldreader::readFile(world / "level.dat_old") == level ? "the world's level.dat_old"
                                                                                        : "another level.dat_old";
            auto other = worldreader::parseNBT(*worldreader::readDatabaseValue(world, "player_server_kills-1"));
            return {levelNameOn(world) + ", levelname.txt " + worldreader::readFile(world / "levelname.txt") + ", " +
                    old + ", players " + std::to_string(worldreader::readPlayer(world).number("Score")) + " and " +
                    std::to_string(other.number("Score"))};
          },
          [](int round) {
            return Parts{round % 2 == 0
                             ? "Restore A, levelname.txt Restore A, the world's level.dat_old, players 1 and 10"
                             : "Restore B, levelname.txt Restore B, no level.dat_old, players 2 and 20"};
          }};
}

std::string hex(const std::string& bytes) {
  std::string out;
  char digits[3];
  for (unsigned char byte : bytes) std::snprintf(digits, sizeof digits, "%02x", byte), out += digits;
  return out;
}

// Moves the demo's wolf between two chunks of today's world, (-4, 7) and
// (-3, 7); the first also lists the armor stand. One part: the chunk of the
// wolf's "Pos" and both digests, which must change together.
KillKind creatureMoveKind(const fs::path& world) {
  auto id = [](int64_t n) { return worldreader::littleEndian(-(n << 32) + 1, 8); };
  std::string wolf = id(2), stand = id(6);
  auto digest = [](int32_t x) { return "digp" + worldreader::littleEndian(x, 4) + worldreader::littleEndian(7, 4); };
  return {"creature move",
          [world](int round) {
            auto* db = new TBKLevelDB(world.string(), "Modern Survival", "");  // never closed: see restoreKind
            auto entity = TBKEntities::read(*db, "-8589934591");
            TBKEntities::move(*db, *entity, {round % 2 ? -62.5 : -47.5, 74, 113.5}, TBKChunkKey::Dimension::Overworld);
          },
          [world, wolf, digest]() -> Parts {
            auto contents = worldreader::databaseContents(world);
            std::string record = contents.at("actorprefix" + wolf);
            auto pos = worldreader::parseNBT(record).list("Pos");
            float x = 0;
            std::memcpy(&x, record.data() + pos.at(0).payloadOffset, sizeof x);
            std::string part = x < -48 ? "-4" : "-3";
            for (int32_t chunk : {-4, -3}) {
              auto found = contents.find(digest(chunk));
              part += "|" + (found == contents.end() ? "absent" : hex(found->second));
            }
            return {part};
          },
          [wolf, stand](int round) {
            return Parts{round % 2 ? "-4|" + hex(stand + wolf) + "|" : "-3|" + hex(stand) + "|" + hex(wolf)};
          }};
}

// Moves the local player of today's world between a place in the Overworld
// and one in the Nether, as the map's "Move the player here" does (one write
// through MapPlaces). One part: the player's x and "DimensionId", which must
// change together.
KillKind mapMoveKind(const fs::path& world) {
  return {"map player move",
          [world](int round) {
            // Never closed: see restoreKind.
            std::shared_ptr<TBKLevelDB> db(new TBKLevelDB(world.string(), "Modern Survival", ""), [](TBKLevelDB*) {});
            auto level = TreeRecord::level(db, db->levelData());
            auto player = TreeRecord::player(db, TBKPlayerEntry::localKey, db->player());
            bool overworld = round % 2;
            Outcome refused =
                MapPlaces(level, player)
                    .movePlayer(overworld ? -64 : -40, overworld ? 64 : 40, overworld ? 112 : 100, overworld ? 0 : 1);
            if (refused) throw std::runtime_error(refused->reason);
          },
          [world]() -> Parts {
            std::string record = *worldreader::readDatabaseValue(world, "~local_player");
            auto player = worldreader::parseNBT(record);
            float x = 0;
            std::memcpy(&x, record.data() + player.list("Pos").at(0).payloadOffset, sizeof x);
            return {std::to_string(x) + " in " + std::to_string(player.number("DimensionId"))};
          },
          [](int round) { return Parts{round % 2 ? "-63.500000 in 0" : "-39.500000 in 1"}; }};
}

// Changes the count in the first slot of the demo's chest at -57, 105 of
// today's world, one root of the several its chunk's block-entities value
// holds. One part: that count, the value's roots and whether every other
// byte of it is as it was.
KillKind containerItemKind(const fs::path& world) {
  TBKChunkKey chunk;
  chunk.x = -4;
  chunk.z = 6;
  chunk.tag = TBKChunkKey::Tag::BlockEntities;
  std::string key = chunk.bytes(), original = worldreader::readDatabaseValue(world, key).value();
  auto roots = worldreader::parseRoots(original);
  size_t index = 0;
  while (index < roots.size() && !(roots[index].string("id") == "Chest" && roots[index].number("z") == 105)) ++index;
  size_t count = roots.at(index).find("Items/0/Count")->payloadOffset;
  return {"container items",
          [world, chunk, index](int round) {
            auto* db = new TBKLevelDB(world.string(), "Modern Survival", "");  // never closed: see restoreKind
            auto chest = TBKBlockEntities::read(*db, chunk).at(index);
            std::string before = TBKNBT::serialise(*chest);
            chest->listForKey("Items")->compoundAtIndex(0)->setValueForKey(
                TBKNumberTag::byteTag("Count", round % 2 ? 16 : 32));
            TBKBlockEntities::write(*db, {{chunk, index, before, chest}});
          },
          [world, key, original, count]() -> Parts {
            std::string value = worldreader::databaseContents(world).at(key);
            std::string rest = value;
            if (rest.size() == original.size()) rest[count] = original[count];
            return {std::to_string(uint8_t(value.at(count))) + " of " +
                    std::to_string(worldreader::parseRoots(value).size()) + " roots" +
                    (rest == original ? "" : ", other bytes changed")};
          },
          [roots = roots.size()](int round) {
            return Parts{std::to_string(round % 2 ? 16 : 32) + " of " + std::to_string(roots) + " roots"};
          }};
}

// Removes the demo's donkey from today's world, its record and its id out of
// its chunk's digest (-5, 7), in even rounds; odd rounds put both back in one
// batch, so the next removal has something to remove. One part: whether the
// record is there, and the digest, which must change together.
KillKind creatureRemovalKind(const fs::path& world) {
  std::string donkey = worldreader::littleEndian(-(int64_t(7) << 32) + 1, 8);
  std::string key = "actorprefix" + donkey;
  std::string digestKey = "digp" + worldreader::littleEndian(-5, 4) + worldreader::littleEndian(7, 4);
  auto contents = worldreader::databaseContents(world);
  std::string record = contents.at(key), others;
  for (size_t at = 0; at + 8 <= contents.at(digestKey).size(); at += 8) {
    if (contents.at(digestKey).substr(at, 8) != donkey) others += contents.at(digestKey).substr(at, 8);
  }
  return {"creature removal",
          [world, key, record, digestKey, others, donkey](int round) {
            auto* db = new TBKLevelDB(world.string(), "Modern Survival", "");  // never closed: see restoreKind
            if (round % 2) return db->writeRecords({{key, record}, {digestKey, others + donkey}});
            TBKEntities::remove(*db, *TBKEntities::read(*db, "-30064771071"));
          },
          [world, key, record, digestKey]() -> Parts {
            auto contents = worldreader::databaseContents(world);
            auto found = contents.find(key);
            std::string part = found == contents.end() ? "absent" : found->second == record ? "present" : "changed";
            auto digest = contents.find(digestKey);
            return {part + "|" + (digest == contents.end() ? "no digest" : hex(digest->second))};
          },
          [others, donkey](int round) {
            return Parts{round % 2 ? "present|" + hex(others + donkey) : "absent|" + hex(others)};
          }};
}

// The folders of `worlds` the game and Gorvane list: not hidden, holding a
// level.dat.
std::vector<fs::path> listedWorlds(const fs::path& worlds) {
  std::vector<fs::path> listed;
  for (auto& entry : fs::directory_iterator(worlds)) {
    if (entry.path().filename().string().front() != '.' && fs::exists(entry.path() / "level.dat"))
      listed.push_back(entry.path());
  }
  return listed;
}

using Snapshot = std::map<std::string, std::string>;

Snapshot without(Snapshot files, const std::vector<std::string>& names) {
  for (auto& name : names) files.erase(name);
  return files;
}

// A whole world made beside `original` in its worlds folder, each round:
// `make` imports or copies it. The one part says that the original is as it
// was and every other world listed is whole (`made` holds its files, but
// for those `renamed`, and its levelname.txt says `name`); those are then
// removed, so that each round starts alike. A round killed before the end
// must have listed nothing new.
KillKind newWorldKind(const std::string& kind, const fs::path& original, const Snapshot& made,
                      const std::vector<std::string>& renamed, const std::string& name, std::function<void()> make) {
  Snapshot before = worldreader::snapshot(original);
  return {
      kind, [make](int) { make(); },
      [original, before, made, renamed, name]() -> Parts {
        if (std::string changed = worldreader::describeDifference(before, worldreader::snapshot(original));
            !changed.empty())
          throw std::runtime_error("the original world changed: " + changed);
        for (const auto& world : listedWorlds(original.parent_path())) {
          if (world == original) continue;
          if (std::string half = worldreader::describeDifference(made, without(worldreader::snapshot(world), renamed));
              !half.empty() || worldreader::readFile(world / "levelname.txt") != name)
            throw std::runtime_error("a half world is listed: " + world.filename().string() + " " + half);
          fs::remove_all(world);
        }
        return {"no half world"};
      },
      [](int) { return Parts{"no half world"}; }};
}

// The one deleted world kept in `kept`, put back as `world` (one rename).
void putBack(const fs::path& kept, const fs::path& world) {
  if (fs::exists(world) || !fs::exists(kept)) return;
  for (auto& entry : fs::directory_iterator(kept)) return fs::rename(entry.path(), world);
}

// Deletes a world of the game's; it must be listed whole or kept whole
// among the deleted worlds, never both and never neither. It is put back
// before the next round.
KillKind deleteKind(const fs::path& data, const std::string& folder) {
  fs::path world = data / "minecraftWorlds" / folder, kept = data / "gorvane-backups/.deleted-worlds";
  Snapshot before = worldreader::snapshot(world);
  return {"world delete",
          [folder, kept, world](int) {
            putBack(kept, world);
            TBKWholeWorld::deleteWorld(folder);
          },
          [world, kept, before]() -> Parts {
            std::vector<fs::path> deleted;
            if (fs::exists(kept)) {
              for (auto& entry : fs::directory_iterator(kept)) deleted.push_back(entry.path());
            }
            bool listed = fs::exists(world);
            if (deleted.size() != (listed ? 0u : 1u))
              throw std::runtime_error("the world is " + std::string(listed ? "listed" : "not listed") + " and " +
                                       std::to_string(deleted.size()) + " deleted worlds are kept");
            fs::path whole = listed ? world : deleted[0];
            if (std::string changed = worldreader::describeDifference(before, worldreader::snapshot(whole));
                !changed.empty())
              throw std::runtime_error("the world is not whole: " + changed);
            putBack(kept, world);
            return {"whole"};
          },
          [](int) { return Parts{"whole"}; }};
}

}  // namespace

int main(int argc, char** argv) {
  int kills = 1000;
  int perKind = 0;
  uint64_t seed = 20261207;
  fs::path scratch = fs::temp_directory_path() / ("gorvane-kills-" + std::to_string(::getpid()));
  std::string only;  // the start of kinds' names: every kill goes to them
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string option = argv[i];
    if (option == "--kills") kills = std::atoi(argv[i + 1]);
    if (option == "--per-kind") perKind = std::atoi(argv[i + 1]);
    if (option == "--seed") seed = std::strtoull(argv[i + 1], nullptr, 10);
    if (option == "--scratch") scratch = argv[i + 1];
    if (option == "--only") only = argv[i + 1];
  }
  fs::remove_all(scratch);
  fs::path sandbox = scratch / "sandbox";
  fs::create_directories(scratch);
  fs::copy(DemoGame::sourceDirectory() / "demo/sandbox", sandbox, fs::copy_options::recursive);
  ::setenv("TARNBOOK_GAME_SANDBOX", sandbox.c_str(), 1);
  auto freshWorld = [&](const std::string& folder, const std::string& world = worldName) {
    fs::create_directories(scratch / folder);
    fs::copy(sandbox / "Documents/games/com.mojang/minecraftWorlds" / world, scratch / folder / world,
             fs::copy_options::recursive);
    return scratch / folder / world;
  };
  // An options restore is not killed apart: it writes its undo backup and the
  // file as an options change does.
  std::vector<KillKind> kinds = {levelKind("level.dat", freshWorld("level"), ""),
                                 playerKind(freshWorld("player")),
                                 levelKind("backup", freshWorld("backup"), scratch / "backup" / "backups"),
                                 optionsKind(sandbox),
                                 restoreKind(freshWorld("restore"), scratch / "kept"),
                                 creatureMoveKind(freshWorld("creatures", "bW9kZXJuAA==")),
                                 creatureRemovalKind(freshWorld("removal", "bW9kZXJuAA==")),
                                 mapMoveKind(freshWorld("map", "bW9kZXJuAA==")),
                                 containerItemKind(freshWorld("containers", "bW9kZXJuAA=="))};
  // Worlds in and out: an import and a copy never list a half world, a
  // delete never loses one.
  fs::path source = freshWorld("import"), archive = scratch / "carried.mcworld";
  TBKWorldArchive::exportWorld(source.string(), worldName, scratch.string(), {}, archive.filename().string());
  kinds.push_back(newWorldKind("world import", source, worldreader::snapshot(source), {}, worldName, [source, archive] {
    TBKWorldArchive::importWorld(archive.string(), source.parent_path().string());
  }));
  fs::path copied = freshWorld("copy");
  kinds.push_back(newWorldKind("world copy", copied,
                               without(worldreader::snapshot(copied), {"level.dat", "level.dat_old", "levelname.txt"}),
                               {"level.dat", "level.dat_old", "levelname.txt"}, std::string("Copy of ") + worldName,
                               [copied] { TBKWholeWorld::copyWorld(copied.string()); }));
  kinds.push_back(deleteKind(sandbox / "Documents/games/com.mojang", "Creative Flatland"));

  std::erase_if(kinds, [&](const KillKind& kind) { return kind.name.rfind(only, 0) != 0; });
  std::mt19937_64 random(seed);
  int faults = 0;
  for (size_t k = 0; k < kinds.size(); ++k) {
    int rounds = perKind > 0 ? perKind : kills / int(kinds.size()) + (int(k) < kills % int(kinds.size()));
    faults += runKills(kinds[k], rounds, random);
  }
  fs::remove_all(scratch);
  return faults == 0 ? 0 : 1;
}
