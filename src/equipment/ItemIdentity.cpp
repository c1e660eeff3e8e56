#include "equipment/ItemIdentity.h"

ItemIdentity ItemIdentity::of(const TBKCompoundTag& entry) {
  return ItemIdentity(entry.numberForKey("id").unsignedShortValue(),
                      entry.numberForKey("Damage").unsignedShortValue());
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

bool ItemIdentity::writeTo(TBKCompoundTag& entry) const {
  if (isNamed(entry)) return false;
  entry.setValueForKey(TBKNumberTag::shortTag("id", static_cast<int16_t>(id_)));
  entry.setValueForKey(TBKNumberTag::shortTag("Damage", static_cast<int16_t>(damage_)));
  return true;
}

std::shared_ptr<TBKCompoundTag> ItemIdentity::makeEntry(int slot, uint8_t count) const {
  auto entry = std::make_shared<TBKCompoundTag>("");
  if (slot >= 0) entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
  entry->setValueForKey(TBKNumberTag::shortTag("id", static_cast<int16_t>(id_)));
  entry->setValueForKey(TBKNumberTag::byteTag("Count", static_cast<int8_t>(count)));
  entry->setValueForKey(TBKNumberTag::shortTag("Damage", static_cast<int16_t>(damage_)));
  return entry;
}

std::string ItemIdentity::name() const {
  auto definition = BVLItemIDSource::sharedSource()->itemDefinitionWithID(id_, damage_);
  return definition ? definition->name : std::string();
}

std::shared_ptr<ui::Image> ItemIdentity::picture() const {
  return BVLItemIDSource::sharedSource()->basicImageForItemWithID(id_, damage_);
}

std::shared_ptr<BVLItemView> ItemIdentity::viewWithFrame(const ui::Rect& frame) const {
  return BVLItemView::itemViewWithFrame(frame, id_, damage_);
}
