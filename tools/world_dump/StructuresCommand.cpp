#include <filesystem>

#include "ArchiveCommands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKStructures.h"

namespace fs = std::filesystem;

int structuresCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "usage: tarnbook_dump structures WORLD\n";
    return 2;
  }
  try {
    fs::path world = fs::absolute(args[0]).lexically_normal();
    TBKLevelDB db(world.string(), world.filename().string(), "");
    for (const auto& name : TBKStructures::names(db)) out << name << "\n";
    return 0;
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
}
