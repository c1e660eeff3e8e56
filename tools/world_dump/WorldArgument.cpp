#include "WorldArgument.h"

#include <fstream>
#include <iterator>

#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKFileSource.h"

namespace fs = std::filesystem;

namespace {

bool isWorld(const fs::path& folder) {
  std::error_code error;
  return fs::is_regular_file(folder / "level.dat", error);
}

}  // namespace

fs::path worldArgument(const std::string& argument) {
  fs::path path = fs::absolute(argument).lexically_normal();
  if (path.filename().empty()) path = path.parent_path();
  std::error_code missing;
  if (fs::is_directory(path, missing)) return path;
  std::string worlds;
  try {
    worlds = TBKFileSource::sharedSource().worldsFolder();
  } catch (const TBKException&) {}
  if (!worlds.empty() && argument.find('/') == std::string::npos && argument != "." && argument != "..") {
    fs::path named = fs::path(worlds) / argument;
    if (isWorld(named)) return named;
  }
  // The game names a world's folder itself; its levelname.txt holds the
  // name the player gave it.
  std::error_code error;
  for (fs::directory_iterator it(worlds.empty() ? "." : worlds, error), end; !worlds.empty() && !error && it != end;
       it.increment(error)) {
    std::ifstream name(it->path() / "levelname.txt");
    std::string text((std::istreambuf_iterator<char>(name)), std::istreambuf_iterator<char>());
    if (text == argument && isWorld(it->path())) return it->path();
  }
  throw TBKException(TBKException::Kind::Usage,
                     "There is no world folder " + path.string() +
                         (worlds.empty() ? "" : ", nor a world named \"" + argument + "\" in " + worlds) + ".");
}

std::string backupFolderFor(const fs::path& world) {
  fs::path parent = world.parent_path();
  if (parent.filename() != "minecraftWorlds") return "";
  return (parent.parent_path() / "gorvane-backups" / world.filename()).string();
}
