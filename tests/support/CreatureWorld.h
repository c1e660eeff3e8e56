#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Creatures written into a world's database the way the game writes them,
// for the tests of the library, the records and the screens alike. The
// bytes are made by the library's NBT writer; the tests read what comes
// back with their own reader.
namespace creatureworld {

// Today's form: a record of its own per entity and each chunk's digest.
enum Id : int64_t {
  wolf = 1,        // "Rex", tamed, 14 of 20 health, chunk 2, -2
  villager = 2,    // chunk 0, 0, with the second villager
  smith = 3,       // a villager named "Smith", chunk 0, 0
  zombie = 4,      // the Nether, chunk -2, 0
  armorStand = 5,  // Armor (4, an iron chestplate), Mainhand, Offhand; chunk 0, 1
  donkey = 6,      // Chested, ChestItems (2 entries); chunk 0, 1
  minecart = 7,    // a chest minecart, Items (1 entry); chunk 0, 1
  apple = 8,       // dropped items and an experience orb, chunk 1, 0
  stone = 9,
  orb = 10,
  cyclops = 11,   // an add-on's creature, chunk 3, 3
  unlisted = 12,  // a cow no digest names, at 100, 64, 100
  damaged = 13,   // a record that is not NBT
  missing = 99,   // named by chunk 1, 0's digest, never written
};

// "actorprefix" and the id's 8 little-endian bytes.
std::string entityKey(int64_t id);
// "digp", x, z and, outside the Overworld, the dimension.
std::string digestKey(int32_t x, int32_t z, int32_t dimension = 0);
// The chunk's old-form record (tag 0x32).
std::string oldFormKey(int32_t x, int32_t z, int32_t dimension = 0);

// The bytes of chunk 5, 5's three old-form roots, in their order.
std::vector<std::string> oldFormRoots();

// Writes every creature above, and chunk 5, 5's old-form value of three
// roots (a pig, a chicken named "Old Hen", a sheep), into the world.
void write(const std::filesystem::path& worldFolder);

}  // namespace creatureworld
