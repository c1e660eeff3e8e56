#pragma once

#include <cstdint>
#include <string>

#include "ui/Geometry.h"

// One entry of the item catalogue. An entry is known by the early game's
// numbers (id, damage), by today's game's name ("minecraft:diamond_sword"),
// or by both when the thing exists in both.
struct BVLItemDefinition {
  // The title shown for the entry: the early game's for an entry found by its
  // numbers, today's for one found by its name.
  std::string name;
  // The early game's numbers; meaningful only when `numbered`.
  uint16_t id = 0;
  uint16_t damage = 0;
  // The atlas ("items-opaque" or "terrain-atlas") and the cell's pixels in it.
  std::string picture;
  ui::Rect cell;
  bool numbered = false;
  // Today's game's "Name" string and the "Damage" that goes with it (a bed's
  // colour; 0 for nearly everything); empty when today's game has no such thing.
  std::string identifier;
  uint16_t identifierDamage = 0;
  // Today's item: its maximum durability (0: it does not wear), how many
  // stack in a slot (0: not known), and the kinds of enchantment it takes
  // ("weapon,durability,..."; see BVLEnchantments).
  uint16_t durability = 0;
  uint16_t stackSize = 0;
  std::string enchantKinds;

  bool operator==(const BVLItemDefinition&) const = default;
};
