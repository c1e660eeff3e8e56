#include <filesystem>

#include "ArchiveCommands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKWholeWorld.h"

namespace fs = std::filesystem;

int copyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "usage: tarnbook_dump copy WORLD\n";
    return 2;
  }
  try {
    fs::path world = fs::absolute(args[0]).lexically_normal();
    if (world.filename().empty()) world = world.parent_path();
    auto copy = TBKWholeWorld::copyWorld(world.string());
    out << "Copied " << world.string() << " to " << (world.parent_path() / *copy).string() << "\n";
    return 0;
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
}
