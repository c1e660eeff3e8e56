#include <nlohmann/json.hpp>

#include "Commands.h"
#include "ContainerLines.h"
#include "Tarnbook/TBKEntities.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "WorldArgument.h"
#include "WorldCopy.h"
#include "records/CreatureKind.h"

namespace {

// Health as the creature screen shows it; null (JSON) or nothing (text)
// for a thing without health.
nlohmann::json healthJson(const TBKEntity::Summary& summary) {
  return summary.health ? nlohmann::json(summary.health->current.floatValue()) : nlohmann::json();
}

}  // namespace

int entitiesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool json = args.size() == 2 && args[1] == "--json";
  if (args.size() != 1 && !json) {
    err << "usage: gorvane-world entities WORLD [--json]\n";
    return 2;
  }
  try {
    auto world = worldArgument(args[0]);
    WorldCopy copy(world);
    TBKLevelDB db(copy.world().string(), world.filename().string(), "");
    auto listing = TBKEntities::list(db);
    for (const auto& entity : listing->entities) {
      auto [x, y, z] = entity->position();
      const std::string& name = entity->summary.name;
      nlohmann::json health = healthJson(entity->summary);
      if (json) {
        out << nlohmann::json{{"dimension", dimensionText(entity->dimension)},
                              {"id", entity->idText()},
                              {"identifier", entity->identifier()},
                              {"name", name},
                              {"x", x},
                              {"y", y},
                              {"z", z},
                              {"health", health},
                              {"listed", entity->listed}}
                   .dump()
            << "\n";
        continue;
      }
      out << dimensionText(entity->dimension) << " " << nlohmann::json(x).dump() << " " << nlohmann::json(y).dump()
          << " " << nlohmann::json(z).dump() << ": " << CreatureKind::displayName(entity->identifier());
      if (!name.empty()) out << " \"" << name << "\"";
      out << " (" << entity->idText() << ", " << entity->identifier() << ")";
      if (!health.is_null()) out << ", health " << health.dump();
      if (!entity->listed) out << ", in no chunk's list";
      out << "\n";
    }
    for (const auto& problem : listing->problems) err << problem << "\n";
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
  return 0;
}
