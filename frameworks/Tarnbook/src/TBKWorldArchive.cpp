#include "Tarnbook/TBKWorldArchive.h"

#include <algorithm>
#include <cctype>

#include "CheckedPath.h"
#include "Folders.h"
#include "PathNames.h"
#include "WorldPack.h"
#include "WorldUnpack.h"

std::string TBKWorldArchive::archiveFileName(const std::string& levelName) {
  std::string name;
  for (unsigned char c : levelName) name += (c < 0x20 || c == 0x7f || c == '/') ? '_' : static_cast<char>(c);
  if (name.empty()) name = "world";
  if (name[0] == '.') name[0] = '_';
  // Room for " (999)" and the extension within a file name's 255 bytes,
  // without cutting a character of UTF-8 in two.
  if (name.size() > 200) {
    size_t end = 200;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    name.resize(end);
  }
  return name + ".mcworld";
}

std::vector<std::string> TBKWorldArchive::archivesIn(const std::string& folder) {
  return tbk::filesEndingIn(folder, ".mcworld");
}

std::optional<std::string> TBKWorldArchive::exportWorld(const std::string& worldFolder, const std::string& worldName,
                                                        const std::string& folder, const TBKProgress& progress,
                                                        const std::string& fileName) {
  return tbk::packWorld(worldFolder, worldName, folder, progress,
                        fileName.empty() ? archiveFileName(worldName) : fileName);
}

std::optional<std::string> TBKWorldArchive::importWorld(const std::string& archive, const std::string& worldsFolder,
                                                        const TBKProgress& progress) {
  return tbk::unpackWorld(archive, worldsFolder, progress);
}
