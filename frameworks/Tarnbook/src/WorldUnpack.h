#pragma once

#include <optional>
#include <string>

#include "Tarnbook/TBKWorldArchive.h"

namespace tbk {

// TBKWorldArchive::importWorld.
std::optional<std::string> unpackWorld(const std::string& archive, const std::string& worldsFolder,
                                       const TBKProgress& progress);

}  // namespace tbk
