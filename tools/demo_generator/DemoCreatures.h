#pragma once

#include <filesystem>

// Creatures for the demo's worlds, so the creature screens have something to
// show: written into a world's database in the form the game of its era
// kept them. Raises TBKException when the database cannot be opened.
namespace democreatures {

// Today's world, each a record of its own ("actorprefix" and its id) listed
// in its chunk's "digp" digest: the player's tamed wolf "Biscuit" at the
// spawn, three villagers (one named "Mason") at the house, an armor stand in
// iron and diamond, the player's donkey "Pack" with a chest, a chest minecart,
// dropped items and an experience orb by the spawn; a zombie pigman in the
// Nether under it.
void writeTodaysCreatures(const std::filesystem::path& world);
// An early world: one sheep in the old form, a root of the chunk's 0x32
// value, at block (x, y, z).
void writeOldFormSheep(const std::filesystem::path& world, int x, int y, int z);

}  // namespace democreatures
