#include "records/ItemTag.h"

namespace itemtag {

namespace {

// Null when the entry has a "tag" that is not a compound: not ours to replace.
std::shared_ptr<TBKCompoundTag> madeTag(TBKCompoundTag& entry) {
  auto tag = entry.compoundForKey("tag");
  if (!tag && entry.objectForKeyedSubscript("tag")) return nullptr;
  if (!tag) {
    tag = std::make_shared<TBKCompoundTag>("tag");
    entry.setValueForKey(tag);
  }
  return tag;
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int32_t spentUses(const TBKCompoundTag& entry) {
  auto tag = entry.compoundForKey("tag");
  return tag ? tag->numberForKey("Damage").intValue() : 0;
}

bool setSpentUses(TBKCompoundTag& entry, int32_t spent) {
  auto tag = madeTag(entry);
  if (!tag) return false;
  tag->setValueForKey(TBKNumberTag::intTag("Damage", spent));
  return true;
}

std::vector<Enchantment> enchantments(const TBKCompoundTag& entry) {
  std::vector<Enchantment> found;
  auto tag = entry.compoundForKey("tag");
  auto list = tag ? tag->listForKey("ench") : nullptr;
  if (!list) return found;
  for (size_t i = 0; i < list->count(); ++i) {
    auto e = list->compoundAtIndex(i);
    if (e) found.push_back({e->numberForKey("id").shortValue(), e->numberForKey("lvl").shortValue()});
  }
  return found;
}

namespace {

// The compound behind enchantments()[index]: entries that are not compounds
// are not counted there either.
std::shared_ptr<TBKListTag> enchantmentList(const TBKCompoundTag& entry, size_t index, size_t& at) {
  auto tag = entry.compoundForKey("tag");
  auto list = tag ? tag->listForKey("ench") : nullptr;
  if (!list) return nullptr;
  size_t seen = 0;
  for (size_t i = 0; i < list->count(); ++i) {
    if (!list->compoundAtIndex(i)) continue;
    if (seen++ == index) {
      at = i;
      return list;
    }
  }
  return nullptr;
}

}  // namespace

bool setLevel(TBKCompoundTag& entry, size_t index, int16_t level) {
  size_t at = 0;
  auto list = enchantmentList(entry, index, at);
  if (!list) return false;
  list->compoundAtIndex(at)->setValueForKey(TBKNumberTag::shortTag("lvl", level));
  return true;
}

bool removeEnchantment(TBKCompoundTag& entry, size_t index) {
  size_t at = 0;
  auto list = enchantmentList(entry, index, at);
  if (!list) return false;
  auto tag = entry.compoundForKey("tag");
  std::vector<std::shared_ptr<TBKTag>> kept;
  for (size_t i = 0; i < list->count(); ++i) {
    if (i != at) kept.push_back(list->objectAtIndexedSubscript(i));
  }
  if (kept.empty()) {
    tag->removeObjectForKey("ench");
  } else {
    tag->setValueForKey(std::make_shared<TBKListTag>("ench", list->elementType(), std::move(kept)));
  }
  return true;
}

bool addEnchantment(TBKCompoundTag& entry, Enchantment added) {
  auto tag = madeTag(entry);
  if (!tag) return false;
  auto list = tag->listForKey("ench");
  if (list && list->count() > 0 && list->elementType() != TBKTagType::Compound) return false;
  if (!list && tag->objectForKeyedSubscript("ench")) return false;
  if (!list || list->elementType() != TBKTagType::Compound) {
    list = std::make_shared<TBKListTag>("ench", TBKTagType::Compound);
    tag->setValueForKey(list);
  }
  auto compound = std::make_shared<TBKCompoundTag>("");
  compound->setValueForKey(TBKNumberTag::shortTag("id", added.id));
  compound->setValueForKey(TBKNumberTag::shortTag("lvl", added.level));
  list->setObjectAtIndexedSubscript(compound, list->count());
  return true;
}

std::string customName(const TBKCompoundTag& entry) {
  auto tag = entry.compoundForKey("tag");
  auto display = tag ? tag->compoundForKey("display") : nullptr;
  return display ? display->stringForKey("Name") : "";
}

bool setCustomName(TBKCompoundTag& entry, const std::string& name) {
  if (name == customName(entry)) return false;
  if (!name.empty()) {
    auto tag = madeTag(entry);
    if (!tag) return false;
    auto display = tag->compoundForKey("display");
    if (!display && tag->objectForKeyedSubscript("display")) return false;
    if (!display) {
      display = std::make_shared<TBKCompoundTag>("display");
      tag->setValueForKey(display);
    }
    display->setValueForKey(std::make_shared<TBKStringTag>("Name", name));
    return true;
  }
  auto tag = entry.compoundForKey("tag");
  auto display = tag->compoundForKey("display");
  display->removeObjectForKey("Name");
  if (display->count() == 0) tag->removeObjectForKey("display");
  return true;
}

std::shared_ptr<TBKListTag> containedItems(const TBKCompoundTag& entry) {
  auto tag = entry.compoundForKey("tag");
  auto items = tag ? tag->listForKey("Items") : nullptr;
  if (!items || (items->count() > 0 && items->elementType() != TBKTagType::Compound)) return nullptr;
  return items;
}

std::shared_ptr<TBKListTag> madeItems(TBKCompoundTag& entry) {
  if (auto items = containedItems(entry)) return items;
  auto tag = madeTag(entry);
  if (!tag || tag->objectForKeyedSubscript("Items")) return nullptr;
  auto items = std::make_shared<TBKListTag>("Items", TBKTagType::Compound);
  tag->setValueForKey(items);
  return items;
}

bool isContainer(const std::string& identifier) { return containerSlots(identifier) > 0; }

size_t containerSlots(const std::string& identifier) {
  if (endsWith(identifier, "shulker_box")) return 27;
  if (endsWith(identifier, "bundle")) return 64;
  return 0;
}

}  // namespace itemtag
