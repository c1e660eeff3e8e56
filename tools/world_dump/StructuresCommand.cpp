#include <filesystem>

#include "Commands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKStructures.h"
#include "WorldArgument.h"

namespace fs = std::filesystem;

int structuresCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "usage: gorvane-world structures WORLD\n";
    return 2;
  }
  try {
    fs::path world = worldArgument(args[0]);
    TBKLevelDB db(world.string(), world.filename().string(), "");
    for (const auto& name : TBKStructures::names(db)) out << name << "\n";
    return 0;
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
}
