#include <filesystem>

#include "Commands.h"
#include "Tarnbook/TBKCompoundTag.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKWorldArchive.h"

namespace fs = std::filesystem;

int exportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args.size() > 2) {
    err << "usage: gorvane-world export WORLD [FILE]\n";
    return 2;
  }
  try {
    fs::path world = fs::absolute(args[0]).lexically_normal();
    if (world.filename().empty()) world = world.parent_path();
    TBKLevelDB db(world.string(), world.filename().string(), "");
    std::string name = db.levelData()->stringForKey("LevelName");
    if (name.empty()) name = world.filename().string();
    fs::path target = fs::absolute(args.size() == 2 ? args[1] : ".").lexically_normal();
    std::string folder = target.string(), fileName;
    if (!fs::is_directory(target)) {
      folder = target.parent_path().string();
      fileName = target.filename().string();
    }
    auto archive = TBKWorldArchive::exportWorld(world.string(), name, folder, {}, fileName);
    out << "Exported \"" << name << "\" to " << *archive << "\n";
    return 0;
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
}
