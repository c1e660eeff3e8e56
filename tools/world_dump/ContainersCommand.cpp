#include "Commands.h"
#include "ContainerLines.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "WorldArgument.h"
#include "WorldCopy.h"
#include "records/ContainerList.h"

int containersCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool json = args.size() == 2 && args[1] == "--json";
  if (args.size() != 1 && !json) {
    err << "usage: gorvane-world containers WORLD [--json]\n";
    return 2;
  }
  try {
    auto world = worldArgument(args[0]);
    WorldCopy copy(world);
    TBKLevelDB db(copy.world().string(), world.filename().string(), "");
    auto listing = ContainerList::list(db);
    for (const auto& container : listing.containers) {
      if (!json) {
        out << dimensionText(container.dimension()) << " " << container.positionText() << ": " << container.name()
            << " (" << container.id << "), " << container.contents() << "\n";
        continue;
      }
      nlohmann::json line = containerJson(container);
      line["items"] = nlohmann::json::array();
      for (const auto& item : container.items) line["items"].push_back(itemJson(item.slot, *item.entry));
      out << line.dump() << "\n";
    }
    for (const auto& damage : listing.damaged) err << damage << "\n";
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
  return 0;
}
