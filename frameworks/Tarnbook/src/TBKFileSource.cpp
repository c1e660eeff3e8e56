#include "Tarnbook/TBKFileSource.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "Folders.h"
#include "PathNames.h"
#include "RealUser.h"
#include "Tarnbook/TBKException.h"
#include "UserPath.h"
#include "WholeFile.h"

namespace {

const char* const sandboxVariable = "TARNBOOK_GAME_SANDBOX";
const char* const appVariable = "TARNBOOK_GAME_APP";

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string withoutTrailingSlashes(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string parentOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// "a, b and c"
std::string listed(const std::vector<std::string>& places) {
  std::string text;
  for (size_t i = 0; i < places.size(); ++i) {
    if (i > 0) text += i + 1 == places.size() ? " and " : ", ";
    text += places[i];
  }
  return text;
}

[[noreturn]] void notFound(const std::string& what, const std::vector<std::string>& searched, const char* name,
                           const std::string& howToSet) {
  throw TBKException(TBKException::Kind::Setup, "The game's " + what + " was not found (looked in " + listed(searched) +
                                                    "): set " + name + " to " + howToSet + ".");
}

std::string homeOf(uid_t user) {
  const passwd* entry = ::getpwuid(user);
  return entry && entry->pw_dir ? entry->pw_dir : "";
}

// Acting for another user, their home is the one the system knows for them:
// the environment of a set-user-id start is not theirs to point it elsewhere.
std::string homeFolder() {
  if (tbk::actingForAnotherUser()) return homeOf(tbk::realUser().uid);
  std::string home = variable("HOME");
  return home.empty() ? homeOf(::getuid()) : home;
}

std::string programFolder() {
  char path[4096];
  ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  return parentOf(std::string(path, size_t(length)));
}

// Where a search starts (a variable's folder, the home folder). Acting for
// another user it is named by its real path, found as that user could
// follow its links: links above the game's folders are that user's own
// business; below them none is followed. A variable that leads where the
// user may not look is refused with the reason; for the home folder, whose
// name is the system's, the name stays as it is and the search finds
// nothing there.
std::string searchRoot(const std::string& folder, const char* variableName = nullptr) {
  if (folder.empty() || !tbk::actingForAnotherUser()) return folder;
  try {
    return tbk::resolvedAsRealUser(folder);
  } catch (const TBKException& error) {
    if (!variableName) return folder;
    throw TBKException(TBKException::Kind::Setup,
                       std::string(variableName) + " (" + folder + ") cannot be used: " + error.reason());
  }
}

// Whether folder is there to use. Acting for another user it must be reached
// without a link and be one that user may open; a refusal raises, saying why.
bool isUsableFolder(const std::string& folder, const std::string& what) {
  if (!tbk::actingForAnotherUser()) return tbk::isDirectory(folder);
  try {
    int fd = tbk::openFolder(folder, true);
    if (fd < 0) return false;
    ::close(fd);
    return tbk::isDirectory(folder);
  } catch (const TBKException& error) {
    throw TBKException(TBKException::Kind::Setup,
                       "The game's " + what + " at " + folder + " cannot be used: " + error.reason());
  }
}

// A folder that is the game's data folder itself: named com.mojang, or
// holding what the game keeps there.
bool isGameDataFolder(const std::string& folder) {
  return isUsableFolder(folder, "data folder") &&
         (endsWith(folder, "/com.mojang") || tbk::isDirectory(tbk::joinPath(folder, "minecraftWorlds")) ||
          tbk::isDirectory(tbk::joinPath(folder, "minecraftpe")));
}

// The data folder the user chose for this run (TBKFileSource::useDataFolder).
std::string& chosenDataFolder() {
  static std::string chosen;
  return chosen;
}

std::string gameData() {
  const std::string what = "data folder";
  if (!chosenDataFolder().empty()) {
    std::string chosen = searchRoot(chosenDataFolder());
    if (isGameDataFolder(chosen)) return chosen;
    throw TBKException(TBKException::Kind::Setup, "The game's data folder " + chosen + " is no longer there.");
  }
  std::string given = searchRoot(withoutTrailingSlashes(variable(sandboxVariable)), sandboxVariable);
  if (!given.empty()) {
    std::vector<std::string> layouts = {tbk::joinPath(given, "Documents/games/com.mojang"),
                                        tbk::joinPath(given, "games/com.mojang")};
    for (const std::string& folder : layouts) {
      if (isUsableFolder(folder, what)) return folder;
    }
    if (isGameDataFolder(given)) return given;
    layouts.push_back(given);
    notFound(what, layouts, sandboxVariable,
             "a folder holding Documents/games/com.mojang or games/com.mojang, or to com.mojang itself");
  }
  std::vector<std::string> places = TBKFileSource::desktopDataFolders(
      searchRoot(homeFolder()), searchRoot(withoutTrailingSlashes(variable("XDG_DATA_HOME"))));
  for (const std::string& folder : places) {
    if (isUsableFolder(folder, what)) return folder;
  }
  notFound(what, places, sandboxVariable,
           "the folder holding Documents/games/com.mojang (or games/com.mojang, or com.mojang itself)");
}

}  // namespace

void TBKFileSource::rememberRealUser() { tbk::setRealUser(tbk::RealUser::ofThisProcess()); }

std::optional<std::string> TBKFileSource::contentsOfFile(const std::string& path, size_t maxBytes) {
  return tbk::readWholeFile(path, maxBytes);
}

std::string TBKFileSource::cacheFolder() {
  std::string home = searchRoot(homeFolder());
  return home.empty() ? "" : tbk::joinPath(home, ".cache/gorvane");
}

namespace {

std::string cachePath(const std::string& name) {
  std::string folder = TBKFileSource::cacheFolder();
  if (folder.empty()) throw TBKException(TBKException::Kind::Setup, "There is no home folder to keep a cache in.");
  if (name.empty() || name[0] == '.' || name.find('/') != std::string::npos) {
    throw TBKException(TBKException::Kind::Usage, "\"" + name + "\" is not a name for a file of the cache.");
  }
  return tbk::joinPath(folder, name);
}

}  // namespace

std::optional<std::string> TBKFileSource::cachedFile(const std::string& name, size_t maxBytes) {
  return tbk::readWholeFile(cachePath(name), maxBytes);
}

void TBKFileSource::keepCachedFile(const std::string& name, std::string_view bytes) {
  std::string path = cachePath(name);
  tbk::FileOwner owner{tbk::realUser().uid, tbk::realUser().gid, 0600};
  tbk::makeFolders(cacheFolder(), tbk::folderOwnerFor(owner));
  tbk::writeFileAtomically(path, bytes, owner);
}

std::string TBKFileSource::resolvedPath(const std::string& path) {
  return tbk::actingForAnotherUser() ? tbk::resolvedAsRealUser(path) : path;
}

TBKFileSource& TBKFileSource::sharedSource() {
  static TBKFileSource source;
  return source;
}

std::string TBKFileSource::userDirectory(const std::string& userDirs, const std::string& key, const std::string& home) {
  std::string found;
  size_t at = 0;
  while (at < userDirs.size()) {
    size_t end = userDirs.find('\n', at);
    if (end == std::string::npos) end = userDirs.size();
    std::string line = userDirs.substr(at, end - at);
    at = end + 1;
    std::string prefix = key + "=\"";
    if (line.rfind(prefix, 0) != 0 || line.size() < prefix.size() + 1 || line.back() != '"') continue;
    std::string value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
    if (value.find('\\') != std::string::npos) continue;  // escapes: not worth the risk of misreading
    if (value.rfind("$HOME/", 0) == 0 && !home.empty()) {
      found = tbk::joinPath(home, value.substr(6));
    } else if (value.rfind("/", 0) == 0) {
      found = value;
    }
  }
  return withoutTrailingSlashes(found);
}

namespace {

std::string userFolder(const std::string& key, const std::string& fallback) {
  std::string home = searchRoot(homeFolder());
  if (home.empty()) return "";
  std::string userDirs;
  try {
    userDirs = tbk::readWholeFile(tbk::joinPath(home, ".config/user-dirs.dirs"), size_t(64) << 10).value_or("");
  } catch (const TBKException&) {
    // Unreadable as the user: the usual folder.
  }
  std::string folder = TBKFileSource::userDirectory(userDirs, key, home);
  if (folder.empty()) folder = tbk::joinPath(home, fallback);
  try {
    return TBKFileSource::resolvedPath(folder);
  } catch (const TBKException&) {
    return folder;
  }
}

}  // namespace

std::vector<TBKDataFolder> TBKFileSource::dataFoldersIn(const std::string& given) {
  std::string folder = withoutTrailingSlashes(given);
  std::string worlds = parentOf(folder);
  if (tbk::isRegularFile(tbk::joinPath(folder, "level.dat")) && tbk::baseName(worlds) == "minecraftWorlds") {
    return {{parentOf(worlds), "", tbk::baseName(folder)}};
  }
  if ((endsWith(folder, "/com.mojang") && tbk::isDirectory(folder)) ||
      tbk::isDirectory(tbk::joinPath(folder, "minecraftWorlds"))) {
    return {{folder, "", ""}};
  }
  const std::string android = "com.mojang.minecraftpe/files/games/com.mojang";
  std::vector<TBKDataFolder> found;
  for (const char* layout : {"games/com.mojang", "LocalState/games/com.mojang", "Documents/games/com.mojang"}) {
    if (tbk::isDirectory(tbk::joinPath(folder, layout))) found.push_back({tbk::joinPath(folder, layout), "", ""});
  }
  for (const std::string& layout :
       {"Android/data/" + android, "data/" + android, android, std::string("files/games/com.mojang")}) {
    if (tbk::isDirectory(tbk::joinPath(folder, layout))) found.push_back({tbk::joinPath(folder, layout), "", ""});
  }
  for (const std::string& users : {tbk::joinPath(folder, "Users"), folder}) {
    auto names = tbk::folderEntries(users).value_or(std::vector<std::string>());
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
      std::string data = tbk::joinPath(users, name + "/games/com.mojang");
      if (name[0] != '.' && tbk::isDirectory(data)) found.push_back({data, name, ""});
    }
    if (!found.empty()) break;
  }
  return found;
}

void TBKFileSource::useDataFolder(const std::string& folder) { chosenDataFolder() = withoutTrailingSlashes(folder); }

std::string TBKFileSource::documentsFolder() { return userFolder("XDG_DOCUMENTS_DIR", "Documents"); }

std::string TBKFileSource::downloadsFolder() { return userFolder("XDG_DOWNLOAD_DIR", "Downloads"); }

std::vector<std::string> TBKFileSource::desktopDataFolders(const std::string& home, const std::string& xdgDataHome) {
  const std::string launcher = "mcpelauncher/games/com.mojang";
  std::string standard = home.empty() ? "" : tbk::joinPath(home, ".local/share");
  std::vector<std::string> places;
  if (!xdgDataHome.empty() && xdgDataHome != standard) places.push_back(tbk::joinPath(xdgDataHome, launcher));
  if (!home.empty()) {
    places.push_back(tbk::joinPath(standard, launcher));
    places.push_back(tbk::joinPath(home, ".var/app/io.mrarm.mcpelauncher/data/" + launcher));
  }
  return places;
}

std::vector<std::string> TBKFileSource::installedBundleFolders(const std::string& programFolder) {
  if (programFolder.empty()) return {};
  return {tbk::joinPath(programFolder, "DemoGame")};
}

std::string TBKFileSource::minecraftApp() const {
  const std::string what = "application folder (the one holding minecraft.ttf)";
  std::string given = searchRoot(withoutTrailingSlashes(variable(appVariable)), appVariable);
  if (!given.empty()) {
    if (!isUsableFolder(given, what)) notFound(what, {given}, appVariable, "it");
    return given;
  }
  std::vector<std::string> places = installedBundleFolders(programFolder());
  for (const std::string& folder : places) {
    if (isUsableFolder(folder, what) && tbk::isRegularFile(tbk::joinPath(folder, "minecraft.ttf"))) {
      return folder;
    }
  }
  notFound(what, places, appVariable, "it");
}

std::string TBKFileSource::minecraftSandbox() const {
  std::string data = gameDataFolder();
  for (const std::string layout : {"/Documents/games/com.mojang", "/games/com.mojang"}) {
    if (endsWith(data, layout) && data.size() > layout.size()) return data.substr(0, data.size() - layout.size());
  }
  return parentOf(data);
}

std::string TBKFileSource::gameDataFolder() const { return gameData(); }

std::string TBKFileSource::worldsFolder() const { return tbk::joinPath(gameDataFolder(), "minecraftWorlds"); }

std::string TBKFileSource::backupsFolder() const { return tbk::joinPath(gameDataFolder(), "gorvane-backups"); }

std::string TBKFileSource::optionsFile() const { return tbk::joinPath(gameDataFolder(), "minecraftpe/options.txt"); }
