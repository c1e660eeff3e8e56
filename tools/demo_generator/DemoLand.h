#pragma once

#include <filesystem>

// Land for the demo's worlds, so their maps show something: written into a
// world's database the way the game of its era saves blocks. Raises
// TBKException when the database cannot be opened or written.
namespace demoland {

// The top block's y of today's world's rolling hills around the sea, at
// block (x, z).
int landHeight(int x, int z);
// The Nether cave's floor's y under block (x, z) of today's world.
int netherFloor(int x, int z);

// Today's world: hills, a sea with sand beaches and a house by the spawn
// (-64, 112) in sub-chunks of versions 8 and 9 with palettes, and the
// Nether under the same place: a cave of netherrack, soul sand and lava
// under the bedrock roof.
void writeTodaysLand(const std::filesystem::path& world);
// An early world: whole chunks of numbered blocks (tag 0x30) around
// (centreX, centreZ): grass hills, a lake with sand shores, trees and a
// wool house.
void writeEarlyWholeChunks(const std::filesystem::path& world, int centreX, int centreZ);
// An early world of the next form: sub-chunks of version 0 (numbered blocks)
// around (centreX, centreZ): flat grass with a wool pattern.
void writeEarlySubChunks(const std::filesystem::path& world, int centreX, int centreZ);

}  // namespace demoland
