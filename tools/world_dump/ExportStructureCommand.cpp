#include <filesystem>

#include "Commands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKStructures.h"
#include "WorldArgument.h"

namespace fs = std::filesystem;

int exportStructureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 3) {
    err << "usage: gorvane-world export-structure WORLD NAME FILE\n";
    return 2;
  }
  try {
    fs::path world = worldArgument(args[0]);
    TBKLevelDB db(world.string(), world.filename().string(), "");
    std::string file = fs::absolute(args[2]).lexically_normal().string();
    TBKStructures::exportStructure(db, args[1], file);
    out << "Exported the structure \"" << args[1] << "\" to " << file << "\n";
    return 0;
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
}
