#include <algorithm>

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
    std::vector<std::pair<ContainerSummary::Half, nlohmann::json>> items;
    auto listing = ContainerList::list(db, nullptr, nullptr, [&](const ContainerSummary& half) {
      if (!json) return;
      for (const auto& item : half.items) items.emplace_back(half.halves.front(), itemJson(item.slot, *item.entry));
    });
    // A double chest's lead half first, whichever the walk met first.
    std::vector<std::vector<std::pair<size_t, nlohmann::json>>> held(json ? listing.containers.size() : 0);
    auto placements = ContainerList::placements(listing.containers);
    for (auto& [half, item] : items) {
      auto placed = ContainerList::placed(placements, half);
      if (!placed) continue;
      item["slot"] = item["slot"].get<size_t>() + placed->firstSlot;
      held[placed->container].emplace_back(placed->firstSlot, std::move(item));
    }
    for (size_t i = 0; i < listing.containers.size(); ++i) {
      const auto& container = listing.containers[i];
      if (!json) {
        out << dimensionText(container.dimension()) << " " << container.positionText() << ": " << container.name()
            << " (" << container.id << "), " << container.contents() << "\n";
        continue;
      }
      nlohmann::json line = containerJson(container);
      std::stable_sort(held[i].begin(), held[i].end(), [](auto& a, auto& b) { return a.first < b.first; });
      line["items"] = nlohmann::json::array();
      for (auto& [firstSlot, item] : held[i]) line["items"].push_back(std::move(item));
      out << line.dump() << "\n";
    }
    for (const auto& damage : listing.damaged.reasons) err << damage << "\n";
    if (listing.damaged.count > listing.damaged.reasons.size()) {
      err << listing.damaged.count - listing.damaged.reasons.size() << " more damaged records\n";
    }
    if (listing.notListed > 0) {
      err << listing.notListed << " more containers not listed: only the first " << ContainerList::maximumListed
          << " are listed\n";
    }
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
  return 0;
}
