#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "records/ContainerSummary.h"

// What the containers and find commands print of a container: its place and
// kind as one JSON object (dimension as "overworld", "nether" or "end", x,
// y, z, id, name) and the same as a line of text.
nlohmann::json containerJson(const ContainerSummary& container);
nlohmann::json itemJson(size_t slot, const TBKCompoundTag& entry);
std::string dimensionText(TBKChunkKey::Dimension dimension);
