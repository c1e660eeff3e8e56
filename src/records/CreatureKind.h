#pragma once

#include <string>
#include <vector>

#include "Tarnbook/TBKEntity.h"

// What kind of thing an entity is, as a person reads it, and the items whose
// pictures can stand for it in a list.
class CreatureKind {
 public:
  // "Villager" for "minecraft:villager_v2", "Armor Stand", "Dropped Item";
  // an add-on's kind is its name after the namespace in the same form
  // ("ymi:cyclops": "Cyclops"); "Unknown" for an entity that names none.
  static std::string displayName(const std::string& identifier);
  // The items to picture it by, best first: a dropped item's own item, the
  // kind's spawn egg, the kind as an item (an armor stand, a minecart), and
  // the plain spawn egg last. The screen shows the first its catalogue has.
  static std::vector<std::string> pictureItems(const TBKEntity::Summary& entity);
};
