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

// Where pictures decoded at a start are kept for the next one (see
// Image::prefetch): read gives the entry of a name or nullopt, write keeps
// one, failing quietly (a picture not kept is decoded again next time).
// None by default.
struct DecodedPictureStore {
  std::function<std::optional<std::string>(const std::string& name)> read;
  std::function<void(const std::string& name, const std::string& entry)> write;
};
void setDecodedPictureStore(DecodedPictureStore store);
const DecodedPictureStore& decodedPictureStore();

}  // namespace ui
