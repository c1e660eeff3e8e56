#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Tarnbook/TBKEntity.h"
#include "external/Tarnbook.h"
#include "records/ContainerSummary.h"
#include "records/DamagedRecords.h"
#include "records/ItemIdentity.h"

// Every place an item lies in a world: each player's inventory, armor,
// offhand and ender chest (not "Mainhand", which only mirrors the held
// slot), every container, and the boxes inside any of them.
class ItemFinder {
 public:
  // One place the item lies, with the slot its grid shows it in and how
  // many there are. Inside a box, `slot` is the box's and `boxSlot` the
  // item's slot in the box.
  struct Found {
    // A player's list: the player's record key and the list's key.
    std::string playerKey;
    std::string list;
    // Or a container (halves empty for a player's).
    ContainerSummary container;
    // Or a creature (a dropped item is one): `list` is then the key of its
    // list ("ChestItems", "Armor"...), or "Item" for a dropped item's own.
    std::shared_ptr<TBKEntity> creature;
    size_t slot = 0;
    std::optional<size_t> boxSlot;
    int count = 0;

    bool inContainer() const { return !container.halves.empty(); }
    bool onCreature() const { return creature != nullptr; }
    // "Chest at 1, 64, 2 in the Overworld, slot 6", "the local player's ender
    // chest, slot 8, in a box in slot 3", "Donkey at 6, 64, 22 in the
    // Overworld, chest, slot 2", "Dropped Item at 20, 63, 5 in the Overworld".
    std::string where() const;
  };

  // A further kind of place (creatures, items on the ground): calls report
  // for each place the item lies, adds the records it passed over to
  // damaged, returns false when cancelled.
  using Source = std::function<bool(TBKLevelDB& db, const ItemIdentity& item, const std::function<void(Found)>& report,
                                    DamagedRecords& damaged, const std::function<bool()>& cancelled)>;
  void addSource(Source source) { sources_.push_back(std::move(source)); }

  // The places of `item` (its name, or its number for the early game's;
  // any damage), players first, then containers in the database's order.
  // Raises TBKException when the world cannot be read; a damaged record is
  // passed over and added to damaged (if given), so that a search that
  // could not look everywhere can say so. progress goes from 0 to 1 over the
  // container walk.
  std::vector<Found> find(TBKLevelDB& db, const ItemIdentity& item, const std::function<bool()>& cancelled = nullptr,
                          const std::function<void(double)>& progress = nullptr,
                          DamagedRecords* damaged = nullptr) const;

  // The same over entries already read: a list and the slots its grid shows.
  static void findIn(const std::vector<ContainerSummary::Item>& items, const ItemIdentity& item,
                     const std::function<void(size_t slot, std::optional<size_t> boxSlot, int count)>& report);

 private:
  std::vector<Source> sources_;
};
