#include "records/ItemFinder.h"

#include <cmath>

#include "records/ContainerList.h"
#include "records/CreatureKind.h"
#include "records/ItemGrid.h"
#include "records/ItemTag.h"

namespace {

// The player's lists that are places of their own, as the screens name them.
struct PlayerList {
  const char* key;
  const char* name;
};
constexpr PlayerList playerLists[] = {
    {"Inventory", "inventory"}, {"Armor", "armor"}, {"Offhand", "offhand"}, {"EnderChestInventory", "ender chest"}};

bool matches(const TBKCompoundTag& entry, const ItemIdentity& item) {
  ItemIdentity identity = ItemIdentity::of(entry);
  if (identity.isNamed() != item.isNamed()) return false;
  return item.isNamed() ? identity.identifier() == item.identifier() : identity.id() == item.id();
}

// A creature's lists as its screen names them.
constexpr PlayerList creatureListNames[] = {{"Armor", "armor"},      {"Mainhand", "main hand"},
                                            {"Offhand", "off hand"}, {"ChestItems", "chest"},
                                            {"Items", "items"},      {"Inventory", "inventory"}};

// The slots of a player's list as its grid shows them (an early inventory's
// first nine entries are never shown; armor and offhand go by position).
std::vector<ContainerSummary::Item> gridItems(const TBKListTag& list, bool byPosition) {
  std::vector<ContainerSummary::Item> items;
  std::vector<size_t> shown = byPosition ? std::vector<size_t>() : ItemGrid::gridEntries(list);
  if (byPosition) {
    for (size_t i = 0; i < list.count(); ++i) shown.push_back(i);
  }
  for (size_t cell = 0; cell < shown.size(); ++cell) {
    if (auto entry = list.compoundAtIndex(shown[cell])) items.push_back({cell, entry});
  }
  return items;
}

}  // namespace

std::string ItemFinder::Found::where() const {
  std::string text;
  if (onCreature()) {
    auto position = creature->position();
    std::string name = creature->tree ? creature->tree->stringForKey("CustomName") : std::string();
    if (name.empty()) name = CreatureKind::displayName(creature->identifier());
    text = name + " at " + std::to_string(long(std::floor(position[0]))) + ", " +
           std::to_string(long(std::floor(position[1]))) + ", " + std::to_string(long(std::floor(position[2]))) +
           " in the " + TBKChunkKey::dimensionName(creature->dimension);
    // A dropped item is one item on the ground: no slot to name.
    if (list == "Item") return text;
    for (const auto& [key, name] : creatureListNames) {
      if (list == key) text = text + ", " + name;
    }
  } else if (inContainer()) {
    text = container.name() + " at " + container.positionText() + " in the " +
           TBKChunkKey::dimensionName(container.dimension());
  } else {
    std::string owner = playerKey == TBKPlayerEntry::localKey ? "the local player" : playerKey;
    for (const auto& shown : playerLists) {
      if (list == shown.key) text = owner + "'s " + shown.name;
    }
  }
  text += ", slot " + std::to_string(slot + 1);
  if (boxSlot) text = text + ", in a box (its slot " + std::to_string(*boxSlot + 1) + ")";
  return text;
}

void ItemFinder::findIn(const std::vector<ContainerSummary::Item>& items, const ItemIdentity& item,
                        const std::function<void(size_t, std::optional<size_t>, int)>& report) {
  for (const auto& [slot, entry] : items) {
    if (matches(*entry, item)) report(slot, std::nullopt, entry->numberForKey("Count").intValue());
    auto box = itemtag::containedItems(*entry);
    for (size_t i = 0; box && i < box->count(); ++i) {
      auto inner = box->compoundAtIndex(i);
      if (inner && matches(*inner, item)) {
        report(slot, inner->numberForKey("Slot").unsignedCharValue(), inner->numberForKey("Count").intValue());
      }
    }
  }
}

std::vector<ItemFinder::Found> ItemFinder::find(TBKLevelDB& db, const ItemIdentity& item,
                                                const std::function<bool()>& cancelled,
                                                const std::function<void(double)>& progress,
                                                DamagedRecords* damaged) const {
  DamagedRecords passedOver;
  std::vector<Found> found;
  for (const auto& player : db.players()) {
    if (!player.missing.empty()) continue;
    std::shared_ptr<TBKCompoundTag> tree;
    try {
      tree = db.playerForKey(player.key);
    } catch (const TBKException& error) {
      if (error.kind() != TBKException::Kind::Format) throw;
      passedOver.add(error.reason());
      continue;
    }
    for (const auto& shown : playerLists) {
      auto list = tree->listForKey(shown.key);
      if (!list) continue;
      findIn(gridItems(*list, std::string_view(shown.key) != "Inventory" &&
                                  std::string_view(shown.key) != "EnderChestInventory"),
             item, [&](size_t slot, std::optional<size_t> boxSlot, int count) {
               Found place;
               place.playerKey = player.key;
               place.list = shown.key;
               place.slot = slot;
               place.boxSlot = boxSlot;
               place.count = count;
               found.push_back(std::move(place));
             });
    }
  }
  // Each block entity is looked through as the walk reads it (a listing
  // keeps no items), and what is found placed in its container once a
  // double chest's halves are joined.
  std::vector<std::pair<ContainerSummary::Half, Found>> inHalves;
  auto listing = ContainerList::list(db, cancelled, progress, [&](const ContainerSummary& half) {
    findIn(half.items, item, [&](size_t slot, std::optional<size_t> boxSlot, int count) {
      Found place;
      place.slot = slot;
      place.boxSlot = boxSlot;
      place.count = count;
      inHalves.emplace_back(half.halves.front(), std::move(place));
    });
  });
  passedOver.addAll(listing.damaged);
  auto placements = ContainerList::placements(listing.containers);
  for (auto& [half, place] : inHalves) {
    auto placed = ContainerList::placed(placements, half);
    if (!placed) continue;
    place.container = listing.containers[placed->container];
    place.slot += placed->firstSlot;
    found.push_back(std::move(place));
  }
  for (const auto& source : sources_) {
    if (!source(
            db, item, [&](Found place) { found.push_back(std::move(place)); }, passedOver, cancelled))
      break;
  }
  if (damaged) *damaged = std::move(passedOver);
  return found;
}
