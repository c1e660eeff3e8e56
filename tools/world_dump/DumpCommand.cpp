#include "Commands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKNBT.h"
#include "WorldArgument.h"
#include "WorldCopy.h"

int dumpCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "usage: gorvane-world dump WORLD\n";
    return 2;
  }
  int status = 0;
  try {
    auto world = worldArgument(args[0]);
    WorldCopy copy(world);
    TBKLevelDB db(copy.world().string(), world.filename().string(), "");
    out << "World folder: " << world.string() << "\n";
    try {
      auto level = db.levelData();
      out << "level.dat, storage version " << db.storageVersion() << ":\n" << TBKNBT::describe(*level);
    } catch (const TBKException& error) {
      err << error.reason() << "\n";
      status = 1;
    }
    try {
      auto player = db.player();
      out << "Player (" << (db.hasDatabase() ? "~local_player in db/" : "\"Player\" in level.dat") << "):\n"
          << TBKNBT::describe(*player);
    } catch (const TBKException& error) {
      err << error.reason() << "\n";
      status = 1;
    }
    for (const auto& entry : db.players()) {
      if (entry.isLocal()) continue;
      out << "Other player " << entry.key << " (player_" << entry.id << ")" << (entry.missing.empty() ? "" : ": ")
          << entry.missing << "\n";
    }
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
  return status;
}
