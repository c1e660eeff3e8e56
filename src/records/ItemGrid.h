#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "external/Tarnbook.h"

// Where a list of item entries (an inventory, an ender chest, a box's
// contents) shows in a grid of slots. In an early world's inventory grid
// position r shows list entry r + 9: the first nine entries link the hotbar
// and are never shown. A list of named items (today's worlds) is the slots
// themselves, and the grid shows every entry in slot order. A container of
// `capacity` slots (0: none, the inventory) shows each slot by its number.
class ItemGrid {
 public:
  // The list indices the grid shows, in grid order.
  static std::vector<size_t> gridEntries(const TBKListTag& entries);
  // What the editor subtracts from an entry's "Slot" to show it: 9 in an
  // early world's inventory, where it matches the grid position, else 0.
  static int slotOffset(const TBKListTag& entries);
  // The number of cells: every entry shown, and for a container every slot
  // and any entry numbered past them.
  static size_t cellCount(const TBKListTag& entries, size_t capacity);
  // The position in gridEntries that `cell` shows; none for a container's
  // free slot or past the end.
  static std::optional<size_t> entryPosition(const TBKListTag& entries, size_t capacity, size_t cell);
  // The entry's "Slot" as the game reads it (an unsigned byte); 0 for none.
  static uint8_t slotOf(const TBKListTag& entries, size_t index);
};
