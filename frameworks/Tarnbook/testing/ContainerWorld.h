#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Tarnbook/TBKChunkKey.h"
#include "Tarnbook/TBKCompoundTag.h"

// A world of the tests' own with block entities in the game's shapes, its
// chunk records put straight into the database with LevelDB itself:
//   chunk 0, 0      a chest (1,64,2: 12 diamonds in slot 0, an elytra in 5),
//                   a double chest (3,64,2 lead: 3 apples in slot 0; 4,64,2:
//                   5 bread in slot 1) and a sign, one value;
//   chunk 1, 0      a barrel "Loot" (17,64,3) holding in slot 2 a red
//                   shulker box "Wings" with an elytra in its slot 0, a
//                   furnace mid-smelt (18,64,3: 4 iron ore, 2 coal, 1 ingot)
//                   and a hopper (19,64,3: 7 sticks in slot 4);
//   chunk 2, 0      with a checksums record over it and its version record:
//                   an item frame (33,65,1: a compass), a lectern (34,64,1:
//                   a writable book), an add-on's crate "mymod:crate"
//                   (35,64,1) and a chest never opened (36,64,1: LootTable);
//   chunk 0, 0 in the Nether: a chest (5,40,5: 9 gold ingots in slot 3);
//   chunk 3, 0      a block-entities record that is damaged.
// The local player is the early game's (makePlayerTree) with an ender chest
// holding an elytra in slot 7.
namespace tbktest {

// A named item entry as today's game writes one.
std::shared_ptr<TBKCompoundTag> namedItem(int slot, const std::string& name, int count);

struct ContainerChunk {
  TBKChunkKey key;  // tag BlockEntities
  std::vector<std::shared_ptr<TBKCompoundTag>> roots;
};
std::vector<ContainerChunk> containerChunks();

TBKChunkKey chunkKey(int32_t x, int32_t z, TBKChunkKey::Dimension dimension = TBKChunkKey::Dimension::Overworld,
                     TBKChunkKey::Tag tag = TBKChunkKey::Tag::BlockEntities);

// A checksums record as the game writes it, over (tag, value) pairs of
// records without a sub-chunk index.
std::string checksumsRecord(const std::vector<std::pair<uint8_t, std::string>>& records);

// Writes the world into folder (a world folder of a TestSandbox).
void writeContainerWorld(const std::string& folder);

}  // namespace tbktest
