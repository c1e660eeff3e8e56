#include "creatures/CreaturePicture.h"

#include "external/Bevel.h"
#include "records/CreatureKind.h"

std::string creaturePicture(const TBKEntity::Summary& entity) {
  auto catalogue = BVLItemIDSource::sharedSource();
  auto items = CreatureKind::pictureItems(entity);
  for (const auto& item : items) {
    if (catalogue->itemDefinitionWithName(item)) return item;
  }
  return items.back();
}
