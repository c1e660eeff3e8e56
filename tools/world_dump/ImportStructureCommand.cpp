#include <filesystem>

#include "ArchiveCommands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKStructures.h"

namespace fs = std::filesystem;

int importStructureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 3) {
    err << "usage: tarnbook_dump import-structure WORLD FILE NAME\n";
    return 2;
  }
  try {
    fs::path world = fs::absolute(args[0]).lexically_normal();
    if (world.filename().empty()) world = world.parent_path();
    // A world of the game's keeps what it replaces where Gorvane keeps its
    // backups, as the editor's own writes do.
    fs::path backups = world.parent_path().filename() == "minecraftWorlds"
                           ? world.parent_path().parent_path() / "gorvane-backups" / world.filename()
                           : fs::path();
    TBKLevelDB db(world.string(), world.filename().string(), backups.string());
    std::string name = TBKStructures::importStructure(db, fs::absolute(args[1]).lexically_normal().string(), args[2]);
    out << "Imported the structure \"" << name << "\"\n";
    return 0;
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
}
