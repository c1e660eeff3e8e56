#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Tarnbook/TBKCompoundTag.h"
#include "Tarnbook/TBKListTag.h"

// A saved structure's bytes as the game writes them (a .mcstructure file
// or a "structuretemplate_" record), made with the library's NBT writer,
// for the structure tests of the library and of the screens.
namespace tbktest {

// A list of ints.
std::shared_ptr<TBKListTag> ints(const std::string& name, std::vector<int32_t> values);

// Two blocks along x: stone, and an empty block waterlogged; a chest's data
// on the first. `change` alters the tree before it is written.
std::string structureBytes(const std::function<void(TBKCompoundTag&)>& change = nullptr);

}  // namespace tbktest
