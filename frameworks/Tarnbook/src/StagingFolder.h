#pragma once

#include <string>

// The hidden folders where a world is put together before it is renamed
// into the list whole (an import, a copy): .incomplete-<kind>-<pid>. A world
// list skips hidden folders, so a process killed halfway leaves nothing
// listed, and the next one clears what it left.
namespace tbk {

// Clears the staging folders of parent whose process is gone, then returns
// parent/.incomplete-<kind>-<this process>, which does not exist.
std::string freshStagingFolder(const std::string& parent, const std::string& kind);

}  // namespace tbk
