#include <filesystem>

#include "Commands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "WorldArgument.h"

namespace fs = std::filesystem;

int restoreCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) {
    err << "usage: gorvane-world restore BACKUP-FOLDER WORLD\n";
    return 2;
  }
  try {
    fs::path world = worldArgument(args[1]);
    TBKLevelDB db(world.string(), world.filename().string(), backupFolderFor(world));
    TBKBackup kept;
    kept.folder = fs::absolute(args[0]).lexically_normal().string();
    std::string before = db.restoreBackup(kept);
    out << "Restored " << world.string() << " from " << kept.folder << "\n";
    if (!before.empty()) out << "The world as it was is kept in " << before << "\n";
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
  return 0;
}
