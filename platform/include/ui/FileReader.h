#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ui {

// How the platform reads the picture and font files it is given by path:
// by default straight from the file system. A program that runs as root on
// an ordinary user's behalf installs a reader that reads only what that
// user could read.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;
void setFileReader(FileReader reader);

// The whole file through the installed reader; nullopt when it cannot be
// read.
std::optional<std::string> readFile(const std::string& path);

}  // namespace ui
