#include "records/ItemIdentity.h"

ItemIdentity ItemIdentity::of(const TBKCompoundTag& entry) {
  uint16_t damage = entry.numberForKey("Damage").unsignedShortValue();
  if (isNamed(entry)) return ItemIdentity(entry.stringForKey("Name"), damage);
  return ItemIdentity(entry.numberForKey("id").unsignedShortValue(), damage);
}

bool ItemIdentity::isNamed(const TBKCompoundTag& entry) {
  auto name = entry.objectForKeyedSubscript("Name");
  return name && name->type() == TBKTagType::String;
}

bool ItemIdentity::holdsNamed(const TBKListTag& list) {
  for (const auto& entry : list.value()) {
    auto compound = std::dynamic_pointer_cast<TBKCompoundTag>(entry);
    if (compound && isNamed(*compound)) return true;
  }
  return false;
}

bool ItemIdentity::namesItems(const TBKCompoundTag& player) {
  for (const char* list : {"Inventory", "Armor"}) {
    auto items = player.listForKey(list);
    if (items && holdsNamed(*items)) return true;
  }
  return false;
}

bool ItemIdentity::takesNamed(const TBKCompoundTag& entry, const TBKCompoundTag& player) {
  if (isNamed(entry)) return true;
  if (entry.objectForKeyedSubscript("id")) return false;
  return namesItems(player);
}

bool ItemIdentity::writeTo(TBKCompoundTag& entry) const {
  if (!named_) {
    if (isNamed(entry)) return false;
    entry.setValueForKey(TBKNumberTag::shortTag("id", static_cast<int16_t>(id_)));
  } else {
    if (!isNamed(entry) && entry.objectForKeyedSubscript("id")) return false;
    if (!isNamed(entry) || entry.stringForKey("Name") != identifier_) {
      entry.setValueForKey(std::make_shared<TBKStringTag>("Name", identifier_));
      entry.removeObjectForKey("Block");
    }
  }
  entry.setValueForKey(TBKNumberTag::shortTag("Damage", static_cast<int16_t>(damage_)));
  return true;
}

std::shared_ptr<TBKCompoundTag> ItemIdentity::makeEntry(int slot, uint8_t count) const {
  auto entry = std::make_shared<TBKCompoundTag>("");
  auto slotTag = [&] {
    if (slot >= 0) entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
  };
  auto countTag = TBKNumberTag::byteTag("Count", static_cast<int8_t>(count));
  auto damageTag = TBKNumberTag::shortTag("Damage", static_cast<int16_t>(damage_));
  if (!named_) {
    slotTag();
    entry->setValueForKey(TBKNumberTag::shortTag("id", static_cast<int16_t>(id_)));
    entry->setValueForKey(countTag);
    entry->setValueForKey(damageTag);
  } else {
    entry->setValueForKey(countTag);
    entry->setValueForKey(damageTag);
    entry->setValueForKey(std::make_shared<TBKStringTag>("Name", identifier_));
    slotTag();
    entry->setValueForKey(TBKNumberTag::byteTag("WasPickedUp", 0));
  }
  return entry;
}
