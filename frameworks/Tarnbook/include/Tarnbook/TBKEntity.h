#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Tarnbook/TBKChunkKey.h"
#include "Tarnbook/TBKCompoundTag.h"
#include "Tarnbook/TBKNumber.h"

// One entity of a world (a creature, a dropped item, a minecart...) and
// where it is stored. Today's game keeps each in a record of its own,
// "actorprefix" and its 8-byte id, listed by id in the "digp" digest of the
// chunk it stands in; the game before 1.18.30 kept a chunk's entities as NBT
// roots one after another in the chunk's record of tag 0x32 (the old form).
// A world the game upgraded may hold both.
struct TBKEntity {
  // What a list shows of it, read from its bytes without building its tree
  // and kept as it is stored: TBKEntities refreshes it with every write.
  struct Summary {
    struct Health {
      TBKNumber current, maximum;
    };
    std::string identifier;                   // "minecraft:wolf", "ymi:cyclops"; "" when none
    std::string name;                         // "CustomName"; "" when none
    std::array<double, 3> position{0, 0, 0};  // the first three numbers of "Pos"
    std::optional<TBKNumber> owner;           // "OwnerNew", when a number
    std::optional<Health> health;             // the "minecraft:health" attribute
    TBKNumber dimensionId;                    // "DimensionId"
    std::string itemName;                     // a dropped item's "Item" "Name"
  };

  // The record holding it: "actorprefix" + id, or the chunk's 0x32 key.
  std::string key;
  // In the old form, which root of the chunk's value it is; none for a
  // record of its own.
  std::optional<size_t> root;
  // The chunk whose digest lists it (or whose value holds it), and that
  // chunk's dimension. For a record no digest lists: the chunk of its
  // position, in the dimension its "DimensionId" names (else the Overworld).
  int32_t chunkX = 0;
  int32_t chunkZ = 0;
  TBKChunkKey::Dimension dimension = TBKChunkKey::Dimension::Overworld;
  // False for a record of its own that no chunk's digest names: the game
  // does not load it, but it is kept and shown so it can be found.
  bool listed = true;
  Summary summary;
  // The whole tree: null in a listing until TBKEntities::load reads it.
  std::shared_ptr<TBKCompoundTag> tree;
  // In the old form, the root's length and a hash of its bytes as last read
  // or written: a change finds its root by them, so a chunk value changed
  // meanwhile (by another removal, or the game) is never overwritten in the
  // wrong place.
  size_t storedSize = 0;
  uint64_t storedCheck = 0;

  bool ownRecord() const { return !root.has_value(); }
  const std::string& identifier() const { return summary.identifier; }
  const std::array<double, 3>& position() const { return summary.position; }
  // The id as a person types it: the 8 bytes of the key as a signed
  // little-endian number, as the game's "UniqueID" holds it; in the old
  // form "chunk:X:Z:DIMENSION:ROOT".
  std::string idText() const;
  // The "digp" key of the chunk and dimension above.
  std::string digestKey() const { return digestKey(chunkX, chunkZ, dimension); }
  static std::string digestKey(int32_t x, int32_t z, TBKChunkKey::Dimension dimension);
};
