#pragma once

#include <filesystem>

// Containers for today's demo world, so the containers screen and "Find an
// Item" have something to show: block entities in their chunks' values
// (tag 0x31), several roots to a value, as the game keeps them. Raises
// TBKException when the database cannot be opened.
namespace democontainers {

// In the house by the spawn: a chest, a double chest, a barrel holding a
// named shulker box with items, a furnace mid-smelt, a hopper, an item frame
// and a lectern with a book; a chest on the Nether's floor under it.
void writeTodaysContainers(const std::filesystem::path& world);

}  // namespace democontainers
