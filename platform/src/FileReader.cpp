#include "ui/FileReader.h"

#include <fstream>
#include <iterator>

namespace ui {
namespace {

std::optional<std::string> readDirectly(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

FileReader& installedReader() {
  static FileReader reader = readDirectly;
  return reader;
}

}  // namespace

void setFileReader(FileReader reader) { installedReader() = reader ? std::move(reader) : FileReader(readDirectly); }

std::optional<std::string> readFile(const std::string& path) { return installedReader()(path); }

namespace {
DecodedPictureStore& installedStore() {
  static DecodedPictureStore store;
  return store;
}
}  // namespace

void setDecodedPictureStore(DecodedPictureStore store) { installedStore() = std::move(store); }
const DecodedPictureStore& decodedPictureStore() { return installedStore(); }

}  // namespace ui
