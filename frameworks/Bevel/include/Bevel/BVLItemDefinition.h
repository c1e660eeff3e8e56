#pragma once

#include <cstdint>
#include <string>

#include "ui/Geometry.h"

// One entry of the item catalogue.
struct BVLItemDefinition {
  std::string name;
  uint16_t id = 0;
  uint16_t damage = 0;
  // The atlas ("items-opaque" or "terrain-atlas") and the cell's pixels in it.
  std::string picture;
  ui::Rect cell;

  bool operator==(const BVLItemDefinition&) const = default;
};
