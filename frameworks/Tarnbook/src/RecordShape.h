#pragma once

#include <optional>
#include <string>
#include <string_view>

// What a world's database record of each kind must look like, so that a
// backup or a restore journal is checked whole before any of it is written
// back, and a name for a record that a person can read in a reason (most
// keys are bytes, not text).
namespace tbk {

// Why bytes cannot be the value of the record under key, or nullopt when
// they can: a player or entity record is one NBT compound, a chunk's block
// entities or old-form entities are NBT compounds one after another, an
// entity digest is whole 8-byte ids. Other records are kept as they are.
std::optional<std::string> recordDamage(std::string_view key, std::string_view bytes);

// "player_server_1b2c", "the block entities of chunk 3, -2 in the Nether",
// "entity 0x000000010000002a" ...
std::string recordName(std::string_view key);

}  // namespace tbk
