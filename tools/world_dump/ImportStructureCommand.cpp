#include <filesystem>

#include "Commands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKStructures.h"
#include "WorldArgument.h"

namespace fs = std::filesystem;

int importStructureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 3) {
    err << "usage: gorvane-world import-structure WORLD FILE NAME\n";
    return 2;
  }
  try {
    fs::path world = worldArgument(args[0]);
    // A world of the game's keeps what it replaces where Gorvane keeps its
    // backups, as the editor's own writes do.
    TBKLevelDB db(world.string(), world.filename().string(), backupFolderFor(world));
    std::string name = TBKStructures::importStructure(db, fs::absolute(args[1]).lexically_normal().string(), args[2]);
    out << "Imported the structure \"" << name << "\"\n";
    return 0;
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
}
