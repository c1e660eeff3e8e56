#pragma once

#include <string>
#include <string_view>

// Paths as text: nothing here looks at the file system.
namespace tbk {

// folder + "/" + name, with no doubled slash.
std::string joinPath(const std::string& folder, std::string_view name);
// All before the last "/": "/" for a name in the root, "." for a bare name.
std::string parentFolder(const std::string& path);
// All after the last "/".
std::string baseName(const std::string& path);

}  // namespace tbk
