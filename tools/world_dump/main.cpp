// tarnbook_dump: shows a world without the editor's screens.
//
//   tarnbook_dump <world folder>
//       prints level.dat's header and level tree, then the player tree, one
//       tag a line with its type, and the world's other players, one a line.
//       The world is read from a copy and left exactly as it was.
//   tarnbook_dump --restore <backup folder> <world folder>
//       puts the world back as a backup Gorvane kept holds it, as Gorvane's
//       own Backups screen does (the world as it is now is backed up first
//       when it lies in the game's minecraftWorlds folder).
//   tarnbook_dump export WORLD [FILE]
//   tarnbook_dump import FILE [DATA-FOLDER]
//   tarnbook_dump copy WORLD
//   tarnbook_dump structures WORLD
//   tarnbook_dump export-structure WORLD NAME FILE
//   tarnbook_dump import-structure WORLD FILE NAME
//       a world folder as a .mcworld archive, an archive as a new world, a
//       world copied beside itself, a world's saved structures listed, one
//       as a .mcstructure file and one taken in (ArchiveCommands.h).
//   tarnbook_dump --restore-player <local_player.nbt> <world folder>
//       stores a player record saved in a backup back into the world's
//       database (the current one is backed up first when the world lies in
//       the game's minecraftWorlds folder). A backup named after another
//       player's key (player_server_<uuid>.nbt) goes back under that key.
//
// Exit status: 0 when everything asked for was read or written, 1 otherwise.
#include <stdlib.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "ArchiveCommands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKLevelFile.h"
#include "Tarnbook/TBKNBT.h"

namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TBKException(TBKException::Kind::File, "Could not read " + path.string() + ".");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Backups of a world in the game's worlds folder go where the editor keeps them.
std::string backupFolderFor(const fs::path& world) {
  fs::path parent = world.parent_path();
  if (parent.filename() != "minecraftWorlds") return "";
  return (parent.parent_path() / "gorvane-backups" / world.filename()).string();
}

// A private copy of the world's files to read from: LevelDB rewrites a
// database whenever it opens one (it moves its log into a table), and a
// dump must leave the world exactly as it found it.
class WorldCopy {
 public:
  explicit WorldCopy(const fs::path& world) {
    std::string pattern = (fs::temp_directory_path() / "tarnbook-dump.XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw TBKException(TBKException::Kind::File, "Could not make a temporary folder.");
    root_ = pattern;
    world_ = root_ / world.filename();
    fs::create_directory(world_);
    for (const auto& entry : fs::recursive_directory_iterator(world)) {
      fs::path to = world_ / fs::relative(entry.path(), world);
      if (entry.is_directory())
        fs::create_directory(to);
      else if (entry.is_regular_file() && entry.path().filename() != "LOCK")
        fs::copy_file(entry.path(), to);
    }
  }
  ~WorldCopy() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  const fs::path& world() const { return world_; }

 private:
  fs::path root_;
  fs::path world_;
};

int dump(const fs::path& world) {
  int status = 0;
  WorldCopy copy(world);
  TBKLevelDB db(copy.world().string(), world.filename().string(), "");
  std::printf("World folder: %s\n", world.c_str());
  try {
    auto level = db.levelData();
    std::printf("level.dat, storage version %d:\n%s", db.storageVersion(), TBKNBT::describe(*level).c_str());
  } catch (const TBKException& error) {
    std::fprintf(stderr, "%s\n", error.reason().c_str());
    status = 1;
  }
  try {
    auto player = db.player();
    std::printf("Player (%s):\n%s", db.hasDatabase() ? "~local_player in db/" : "\"Player\" in level.dat",
                TBKNBT::describe(*player).c_str());
  } catch (const TBKException& error) {
    std::fprintf(stderr, "%s\n", error.reason().c_str());
    status = 1;
  }
  try {
    for (const auto& entry : db.players()) {
      if (entry.isLocal()) continue;
      std::printf("Other player %s (player_%s)%s%s\n", entry.key.c_str(), entry.id.c_str(),
                  entry.missing.empty() ? "" : ": ", entry.missing.c_str());
    }
  } catch (const TBKException& error) {
    std::fprintf(stderr, "%s\n", error.reason().c_str());
    status = 1;
  }
  return status;
}

// The record key a backup file stands for: its name without ".nbt", with
// the %XX the backup wrote for other characters turned back.
std::string keyOfBackup(const fs::path& record) {
  std::string name = record.stem().string();
  if (name == "local_player") return TBKPlayerEntry::localKey;
  std::string key;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '%' && i + 2 < name.size() && std::isxdigit(static_cast<unsigned char>(name[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(name[i + 2]))) {
      key += char(std::stoi(name.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      key += name[i];
    }
  }
  return key;
}

int restorePlayer(const fs::path& record, const fs::path& world) {
  auto player = TBKNBT::parseCompound(readBytes(record));
  TBKLevelDB db(world.string(), world.filename().string(), backupFolderFor(world));
  std::string key = keyOfBackup(record);
  db.setPlayerForKey(key.rfind(TBKPlayerEntry::serverPrefix, 0) == 0 ? key : TBKPlayerEntry::localKey, player);
  std::printf("Restored the player of %s from %s\n", world.c_str(), record.c_str());
  if (!db.backupMade().empty()) std::printf("The replaced player was backed up in %s\n", db.backupMade().c_str());
  return 0;
}

int restore(const fs::path& backup, const fs::path& world) {
  TBKLevelDB db(world.string(), world.filename().string(), backupFolderFor(world));
  TBKBackup kept;
  kept.folder = fs::absolute(backup).lexically_normal().string();
  std::string before = db.restoreBackup(kept);
  std::printf("Restored %s from %s\n", world.c_str(), kept.folder.c_str());
  if (!before.empty()) std::printf("The world as it was is kept in %s\n", before.c_str());
  return 0;
}

fs::path worldPath(const char* argument) {
  fs::path path = fs::absolute(argument).lexically_normal();
  return path.filename().empty() ? path.parent_path() : path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3) {
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "export") return exportCommand(args, std::cout, std::cerr);
    if (command == "import") return importCommand(args, std::cout, std::cerr);
    if (command == "copy") return copyCommand(args, std::cout, std::cerr);
    if (command == "structures") return structuresCommand(args, std::cout, std::cerr);
    if (command == "export-structure") return exportStructureCommand(args, std::cout, std::cerr);
    if (command == "import-structure") return importStructureCommand(args, std::cout, std::cerr);
  }
  try {
    if (argc == 2) return dump(worldPath(argv[1]));
    if (argc == 4 && std::string(argv[1]) == "--restore") return restore(worldPath(argv[2]), worldPath(argv[3]));
    if (argc == 4 && std::string(argv[1]) == "--restore-player") {
      return restorePlayer(argv[2], worldPath(argv[3]));
    }
  } catch (const TBKException& error) {
    std::fprintf(stderr, "%s\n", error.reason().c_str());
    return 1;
  }
  std::fprintf(stderr,
               "usage: tarnbook_dump <world folder>\n"
               "       tarnbook_dump export WORLD [FILE]\n"
               "       tarnbook_dump import FILE [DATA-FOLDER]\n"
               "       tarnbook_dump copy WORLD\n"
               "       tarnbook_dump structures WORLD\n"
               "       tarnbook_dump export-structure WORLD NAME FILE\n"
               "       tarnbook_dump import-structure WORLD FILE NAME\n"
               "       tarnbook_dump --restore <backup folder> <world folder>\n"
               "       tarnbook_dump --restore-player <local_player.nbt> <world folder>\n");
  return 1;
}
