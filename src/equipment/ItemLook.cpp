#include "equipment/ItemLook.h"

std::string itemName(const ItemIdentity& item) {
  auto catalogue = BVLItemIDSource::sharedSource();
  if (!item.isNamed()) {
    auto definition = catalogue->itemDefinitionWithID(item.id(), item.damage());
    return definition ? definition->name : std::string();
  }
  if (item.identifier().empty()) return std::string();
  auto definition = catalogue->itemDefinitionWithName(item.identifier(), item.damage());
  return definition ? definition->name : item.identifier();
}

std::shared_ptr<ui::Image> itemPicture(const ItemIdentity& item) {
  auto catalogue = BVLItemIDSource::sharedSource();
  if (!item.isNamed()) return catalogue->basicImageForItemWithID(item.id(), item.damage());
  if (item.identifier().empty()) return nullptr;
  if (catalogue->itemDefinitionWithName(item.identifier(), item.damage())) {
    return catalogue->basicImageForItemWithName(item.identifier(), item.damage());
  }
  return catalogue->genericItemImage();
}

std::shared_ptr<BVLItemView> itemViewWithFrame(const ItemIdentity& item, const ui::Rect& frame) {
  if (!item.isNamed()) return BVLItemView::itemViewWithFrame(frame, item.id(), item.damage());
  // The view would write an empty name over the generic picture.
  if (item.identifier().empty()) {
    auto empty = std::make_shared<BVLItemView>(frame, item.identifier(), item.damage());
    empty->setImage(nullptr);
    return empty;
  }
  return BVLItemView::itemViewWithFrame(frame, item.identifier(), item.damage());
}
