#include <memory>

#include "Commands.h"
#include "Tarnbook/TBKEntities.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "WorldArgument.h"
#include "records/CreatureRecord.h"

int removeEntityCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) {
    err << "usage: gorvane-world remove-entity WORLD ID\n";
    return 2;
  }
  try {
    auto world = worldArgument(args[0]);
    // Backed up as the screens back up, so the Backups row brings it back.
    auto db = std::make_shared<TBKLevelDB>(world.string(), world.filename().string(), backupFolderFor(world));
    auto entity = TBKEntities::read(*db, args[1]);
    if (!entity) {
      err << "The world " << world.string() << " holds no entity of id " << args[1] << ".\n";
      return 1;
    }
    CreatureRecord creature(db, entity);
    if (auto refusal = creature.remove()) {
      err << refusal->reason << "\n";
      return 1;
    }
    out << "Removed " << creature.kind() << (creature.name().empty() ? "" : " \"" + creature.name() + "\"") << " ("
        << args[1] << ") from " << world.string() << "\n";
    if (!db->backupMade().empty()) out << "What it replaced is kept in the backup " << db->backupMade() << "\n";
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
  return 0;
}
