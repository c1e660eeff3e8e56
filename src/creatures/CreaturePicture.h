#pragma once

#include <string>

#include "Tarnbook/TBKEntity.h"

// The catalogue item whose picture stands for an entity: the first of its
// kind's pictures (CreatureKind::pictureItems) the catalogue knows.
std::string creaturePicture(const TBKEntity::Summary& entity);
