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

ContainerRecord::ContainerRecord(std::shared_ptr<TBKLevelDB> db, ContainerSummary summary)
    : db_(std::move(db)), summary_(std::move(summary)) {
  for (const auto& half : summary_.halves) {
    auto roots = TBKBlockEntities::read(*db_, half.chunk);
    if (half.index >= roots.size() || !isAt(*roots[half.index], summary_, half)) {
      throw TBKException(TBKException::Kind::Format, "The " + summary_.name() + " at " + summary_.positionText() +
                                                         " is no longer where it was listed. List the containers "
                                                         "again.");
    }
    halves_.push_back({half.chunk, half.index, roots[half.index], TBKNBT::serialise(*roots[half.index])});
  }
  auto tree = knowsKind() ? gridTree() : copyOf(*halves_.front().root);
  record_ =
      std::make_shared<TreeRecord>(tree, [this](const std::shared_ptr<TBKCompoundTag>& changed) { commit(*changed); });
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
  for (size_t h = 0; h < halves_.size(); ++h) {
    const TBKCompoundTag& root = *halves_[h].root;
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

// The block entity of `half` with its items taken from the grid's slots
// first .. first + 26 (all of them for a single half).
std::shared_ptr<TBKCompoundTag> ContainerRecord::stored(const Stored& half, size_t first,
                                                        const TBKCompoundTag& tree) const {
  auto root = copyOf(*half.root);
  if (!knowsKind()) return copyOf(tree);
  const ContainerKind& kind = *summary_.kind;
  auto grid = tree.listForKey("Items");
  bool single = halves_.size() == 1;
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

void ContainerRecord::commit(const TBKCompoundTag& tree) {
  std::vector<TBKBlockEntities::Replacement> replacements;
  std::vector<std::shared_ptr<TBKCompoundTag>> roots;
  for (size_t h = 0; h < halves_.size(); ++h) {
    roots.push_back(stored(halves_[h], chestSlots * h, tree));
    if (TBKNBT::serialise(*roots.back()) == halves_[h].bytes) continue;
    replacements.push_back({halves_[h].chunk, halves_[h].index, halves_[h].bytes, roots.back()});
  }
  if (replacements.empty()) return;
  TBKBlockEntities::write(*db_, replacements);
  for (size_t h = 0; h < halves_.size(); ++h) {
    halves_[h].root = roots[h];
    halves_[h].bytes = TBKNBT::serialise(*roots[h]);
  }
}
