#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What Gorvane knows of a kind of block entity that holds items: its id in
// the game's records, the name a player knows it by, its number of slots,
// where its items are kept and the catalogue item whose picture shows it.
//
// Most kinds keep an "Items" list whose entries carry their "Slot"; the
// single-item holders keep each item in a compound child of its own
// (`itemKeys`, in slot order: an item frame's "Item", a campfire's "Item1"
// to "Item4"), without a slot number.
struct ContainerKind {
  std::string_view id;
  std::string_view name;
  size_t slots = 0;
  std::vector<std::string_view> itemKeys;   // empty: an "Items" list
  std::string_view picture;                 // a catalogue name
  std::vector<std::string_view> slotNames;  // empty: slots go by their numbers

  bool keepsList() const { return itemKeys.empty(); }

  // The kind of id; null for one Gorvane does not know.
  static const ContainerKind* forId(std::string_view id);
  // Whether a block entity of this id is one the game keeps no items in (a
  // sign, a bed, a banner...): the container list leaves those out and
  // lists every other, known or not.
  static bool holdsNoItems(std::string_view id);
};
