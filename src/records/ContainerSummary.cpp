#include "records/ContainerSummary.h"

#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "records/ItemIdentity.h"

namespace {

constexpr size_t chestSlots = 27;

bool holdsSomething(const TBKCompoundTag& entry) {
  ItemIdentity identity = ItemIdentity::of(entry);
  if (identity.isNamed() ? identity.isEmptySlot() : identity.id() == 0) return false;
  return entry.numberForKey("Count").longLongValue() != 0;
}

}  // namespace

size_t ContainerSummary::capacity() const {
  if (!kind) return 0;
  return kind->slots * halves.size();
}

std::string ContainerSummary::name() const {
  if (!customName.empty()) return customName;
  return kind ? std::string(kind->name) : id;
}

std::string ContainerSummary::contents() const {
  if (filled == 0) return lootPending ? "loot not yet generated" : "empty";
  return std::to_string(filled) + (filled == 1 ? " item" : " items");
}

std::string ContainerSummary::positionText() const {
  const Half& at = position();
  return std::to_string(at.x) + ", " + std::to_string(at.y) + ", " + std::to_string(at.z);
}

std::unique_ptr<ContainerSummary> ContainerSummary::of(const TBKChunkKey& chunk, size_t index,
                                                       const TBKCompoundTag& root) {
  std::string id = root.stringForKey("id");
  if (ContainerKind::holdsNoItems(id)) return nullptr;
  auto summary = std::make_unique<ContainerSummary>();
  summary->id = id;
  summary->kind = ContainerKind::forId(id);
  summary->halves.push_back({chunk, index, root.numberForKey("x").intValue(), root.numberForKey("y").intValue(),
                             root.numberForKey("z").intValue()});
  summary->customName = root.stringForKey("CustomName");
  if (summary->kind && !summary->kind->keepsList()) {
    for (size_t slot = 0; slot < summary->kind->itemKeys.size(); ++slot) {
      if (auto entry = root.compoundForKey(summary->kind->itemKeys[slot])) summary->items.push_back({slot, entry});
    }
  } else if (auto list = root.listForKey("Items")) {
    for (size_t i = 0; i < list->count(); ++i) {
      if (auto entry = list->compoundAtIndex(i)) {
        summary->items.push_back({entry->numberForKey("Slot").unsignedCharValue(), entry});
      }
    }
  }
  for (const auto& item : summary->items) summary->filled += holdsSomething(*item.entry) ? 1 : 0;
  summary->lootPending = root.objectForKeyedSubscript("LootTable") != nullptr;
  if (id == "Chest" && root.objectForKeyedSubscript("pairx") && root.objectForKeyedSubscript("pairz")) {
    summary->pair = Pair{root.numberForKey("pairx").intValue(), root.numberForKey("pairz").intValue(),
                         root.numberForKey("pairlead").longLongValue() != 0};
  }
  return summary;
}

void ContainerSummary::join(ContainerSummary&& other) {
  halves.push_back(other.halves.front());
  for (auto& item : other.items) items.push_back({item.slot + chestSlots, std::move(item.entry)});
  filled += other.filled;
  if (customName.empty()) customName = std::move(other.customName);
  lootPending = lootPending || other.lootPending;
  pair.reset();
}
