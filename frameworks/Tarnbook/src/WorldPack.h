#pragma once

#include <optional>
#include <string>

#include "Tarnbook/TBKWorldArchive.h"

namespace tbk {

// TBKWorldArchive::exportWorld.
std::optional<std::string> packWorld(const std::string& worldFolder, const std::string& worldName,
                                     const std::string& folder, const TBKProgress& progress,
                                     const std::string& fileName);

}  // namespace tbk
