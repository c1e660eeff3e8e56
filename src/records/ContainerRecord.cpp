#include "records/ContainerRecord.h"

#include "Tarnbook/TBKBlockEntities.h"
#include "Tarnbook/TBKNBT.h"

namespace {

constexpr size_t chestSlots = 27;

// A copy through the format itself, sharing nothing with the original.
template <class Tag>
std::shared_ptr<Tag> copyOf(const Tag& tag) {
  return std::static_pointer_cast<Tag>(TBKNBT::parse(TBKNBT::serialise(tag)));
}

bool isAt(const TBKCompoundTag& root, const ContainerSummary& summary, const ContainerSummary::Half& half) {
  return root.stringForKey("id") == summary.id && root.numberForKey("x").intValue() == half.x &&
         root.numberForKey("y").intValue() == half.y && root.numberForKey("z").intValue() == half.z;
}

}  // namespace

struct ContainerRecord::Stored {
  TBKChunkKey chunk;
  size_t index = 0;
  std::shared_ptr<TBKCompoundTag> root;
  std::string bytes;
};

namespace {

using Stored = ContainerRecord::Stored;

// The block entity of `half` with its items taken from the grid's slots
// first .. first + 26 (all of them for a container of one half).
std::shared_ptr<TBKCompoundTag> storedRoot(const ContainerKind* known, const Stored& half, size_t first, bool single,
                                           const TBKCompoundTag& tree) {
  if (!known) return copyOf(tree);
  auto root = copyOf(*half.root);
  const ContainerKind& kind = *known;
  auto grid = tree.listForKey("Items");
  if (kind.keepsList()) {
    auto list = std::make_shared<TBKListTag>("Items", TBKTagType::Compound);
    for (size_t i = 0; grid && i < grid->count(); ++i) {
      auto entry = grid->compoundAtIndex(i);
      if (!entry) continue;
      size_t slot = entry->numberForKey("Slot").unsignedCharValue();
      if (!single && (slot < first || slot >= first + chestSlots)) continue;
      entry = copyOf(*entry);
      if (first > 0) entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot - first)));
      list->setObjectAtIndexedSubscript(entry, list->count());
    }
    if (list->count() > 0 || root->objectForKeyedSubscript("Items")) root->setValueForKey(list);
    return root;
  }
  std::vector<std::shared_ptr<TBKCompoundTag>> placed(kind.itemKeys.size());
  for (size_t i = 0; grid && i < grid->count(); ++i) {
    auto entry = grid->compoundAtIndex(i);
    size_t slot = entry ? entry->numberForKey("Slot").unsignedCharValue() : placed.size();
    if (slot >= placed.size()) continue;
    placed[slot] = copyOf(*entry);
    placed[slot]->removeObjectForKey("Slot");
  }
  // Each child where it stood (a new one appended), so what did not change
  // keeps its bytes.
  for (size_t slot = 0; slot < placed.size(); ++slot) {
    root->setObjectForKeyedSubscript(placed[slot], std::string(kind.itemKeys[slot]));
  }
  return root;
}

void storeTree(TBKLevelDB& db, const ContainerKind* kind, std::vector<Stored>& halves, const TBKCompoundTag& tree) {
  std::vector<TBKBlockEntities::Replacement> replacements;
  std::vector<std::shared_ptr<TBKCompoundTag>> roots;
  for (size_t h = 0; h < halves.size(); ++h) {
    roots.push_back(storedRoot(kind, halves[h], chestSlots * h, halves.size() == 1, tree));
    if (TBKNBT::serialise(*roots.back()) == halves[h].bytes) continue;
    replacements.push_back({halves[h].chunk, halves[h].index, halves[h].bytes, roots.back()});
  }
  if (replacements.empty()) return;
  TBKBlockEntities::write(db, replacements);
  for (size_t h = 0; h < halves.size(); ++h) {
    halves[h].root = roots[h];
    halves[h].bytes = TBKNBT::serialise(*roots[h]);
  }
}

}  // namespace

ContainerRecord::ContainerRecord(std::shared_ptr<TBKLevelDB> db, ContainerSummary summary)
    : summary_(std::move(summary)), halves_(std::make_shared<std::vector<Stored>>()) {
  for (const auto& half : summary_.halves) {
    auto roots = TBKBlockEntities::read(*db, half.chunk);
    if (half.index >= roots.size() || !isAt(*roots[half.index], summary_, half)) {
      throw TBKException(TBKException::Kind::Format, "The " + summary_.name() + " at " + summary_.positionText() +
                                                         " is no longer where it was listed. List the containers "
                                                         "again.");
    }
    halves_->push_back({half.chunk, half.index, roots[half.index], TBKNBT::serialise(*roots[half.index])});
  }
  auto tree = knowsKind() ? gridTree() : copyOf(*halves_->front().root);
  record_ = std::make_shared<TreeRecord>(
      tree, [db, kind = summary_.kind, halves = halves_](const std::shared_ptr<TBKCompoundTag>& changed) {
        storeTree(*db, kind, *halves, *changed);
      });
}

std::shared_ptr<TBKListTag> ContainerRecord::items() const {
  return knowsKind() ? record_->tree()->listForKey("Items") : nullptr;
}

std::shared_ptr<EquipmentRecord> ContainerRecord::equipment() const {
  return std::make_shared<EquipmentRecord>(record_, summary_.name());
}

std::shared_ptr<TBKCompoundTag> ContainerRecord::gridTree() const {
  auto tree = std::make_shared<TBKCompoundTag>("");
  auto items = std::make_shared<TBKListTag>("Items", TBKTagType::Compound);
  const ContainerKind& kind = *summary_.kind;
  for (size_t h = 0; h < halves_->size(); ++h) {
    const TBKCompoundTag& root = *(*halves_)[h].root;
    if (kind.keepsList()) {
      auto list = root.listForKey("Items");
      for (size_t i = 0; list && i < list->count(); ++i) {
        auto entry = list->compoundAtIndex(i);
        if (!entry) continue;
        entry = copyOf(*entry);
        if (h > 0) {
          int slot = entry->numberForKey("Slot").unsignedCharValue() + int(chestSlots * h);
          entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
        }
        items->setObjectAtIndexedSubscript(entry, items->count());
      }
    } else {
      for (size_t slot = 0; slot < kind.itemKeys.size(); ++slot) {
        auto child = root.compoundForKey(kind.itemKeys[slot]);
        if (!child) continue;
        auto entry = copyOf(*child);
        entry->setObjectForKeyedSubscript(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)), "Slot");
        items->setObjectAtIndexedSubscript(entry, items->count());
      }
    }
  }
  tree->setValueForKey(items);
  return tree;
}
