#pragma once

#include "records/ItemFinder.h"

// The creatures' part of a find: the lists of items each entity holds (an
// armor stand's armor, a donkey's chest, a minecart's items), by the slot
// its grid shows, and the item a dropped item is. One walk of the world's
// entities, after the containers'.
class CreatureItemSource {
 public:
  static ItemFinder::Source make();
};
