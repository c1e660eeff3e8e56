#include <filesystem>

#include "Commands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKWholeWorld.h"
#include "WorldArgument.h"

namespace fs = std::filesystem;

int copyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "usage: gorvane-world copy WORLD\n";
    return 2;
  }
  try {
    fs::path world = worldArgument(args[0]);
    auto copy = TBKWholeWorld::copyWorld(world.string());
    out << "Copied " << world.string() << " to " << (world.parent_path() / *copy).string() << "\n";
    return 0;
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
}
