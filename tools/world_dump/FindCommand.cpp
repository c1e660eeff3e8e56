#include <charconv>

#include "Commands.h"
#include "ContainerLines.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "WorldArgument.h"
#include "WorldCopy.h"
#include "records/CreatureItemSource.h"
#include "records/ItemFinder.h"

namespace {

// "minecraft:elytra", "elytra" (the game's own), or an early item's number.
ItemIdentity itemArgument(const std::string& text) {
  uint16_t id = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
  if (error == std::errc() && end == text.data() + text.size()) return ItemIdentity::numbered(id, 0);
  return ItemIdentity::named(text.find(':') == std::string::npos ? "minecraft:" + text : text, 0);
}

}  // namespace

int findCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool json = args.size() == 3 && args[2] == "--json";
  if (args.size() != 2 && !json) {
    err << "usage: gorvane-world find WORLD ITEM [--json]\n";
    return 2;
  }
  try {
    auto world = worldArgument(args[0]);
    WorldCopy copy(world);
    TBKLevelDB db(copy.world().string(), world.filename().string(), "");
    ItemIdentity item = itemArgument(args[1]);
    ItemFinder finder;
    finder.addSource(CreatureItemSource::make());
    for (const auto& found : finder.find(db, item)) {
      if (!json) {
        out << found.where() << ": " << found.count << "\n";
        continue;
      }
      nlohmann::json line;
      if (found.inContainer()) {
        line = containerJson(found.container);
      } else if (found.onCreature()) {
        auto at = found.creature->position();
        line = {{"dimension", dimensionText(found.creature->dimension)},
                {"x", at[0]},
                {"y", at[1]},
                {"z", at[2]},
                {"creature", found.creature->idText()},
                {"id", found.creature->identifier()},
                {"list", found.list}};
      } else {
        line = {{"player", found.playerKey}, {"list", found.list}};
      }
      nlohmann::json entry = {{"slot", found.slot}, {"name", item.idText()}, {"count", found.count}};
      if (found.boxSlot) entry["box_slot"] = *found.boxSlot;
      line["items"] = nlohmann::json::array({entry});
      out << line.dump() << "\n";
    }
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
  return 0;
}
