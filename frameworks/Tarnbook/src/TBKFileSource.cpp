#include "Tarnbook/TBKFileSource.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

#include "FileAccess.h"
#include "Tarnbook/TBKException.h"

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
    throw TBKException(TBKException::SetupFailure, "The game's " + what + " was not found (looked in " +
                                                       listed(searched) + "): set " + name + " to " + howToSet +
                                                       ".");
}

std::string homeFolder() {
    std::string home = variable("HOME");
    if (!home.empty()) return home;
    if (const passwd* entry = ::getpwuid(::getuid())) return entry->pw_dir ? entry->pw_dir : "";
    return "";
}

std::string programFolder() {
    char path[4096];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "";
    return parentOf(std::string(path, size_t(length)));
}

// A folder that is the game's data folder itself: named com.mojang, or
// holding what the game keeps there.
bool isGameDataFolder(const std::string& folder) {
    return tbk::isDirectory(folder) &&
           (endsWith(folder, "/com.mojang") || tbk::isDirectory(tbk::joinPath(folder, "minecraftWorlds")) ||
            tbk::isDirectory(tbk::joinPath(folder, "minecraftpe")));
}

std::string gameData() {
    std::string given = withoutTrailingSlashes(variable(sandboxVariable));
    if (!given.empty()) {
        std::vector<std::string> layouts = {tbk::joinPath(given, "Documents/games/com.mojang"),
                                            tbk::joinPath(given, "games/com.mojang")};
        for (const std::string& folder : layouts) {
            if (tbk::isDirectory(folder)) return folder;
        }
        if (isGameDataFolder(given)) return given;
        layouts.push_back(given);
        notFound("data", layouts, sandboxVariable,
                 "a folder holding Documents/games/com.mojang or games/com.mojang, or to com.mojang itself");
    }
    std::vector<std::string> places =
        TBKFileSource::desktopDataFolders(homeFolder(), withoutTrailingSlashes(variable("XDG_DATA_HOME")));
    for (const std::string& folder : places) {
        if (tbk::isDirectory(folder)) return folder;
    }
    notFound("data", places, sandboxVariable,
             "the folder holding Documents/games/com.mojang (or games/com.mojang, or com.mojang itself)");
}

}  // namespace

TBKFileSource& TBKFileSource::sharedSource() {
    static TBKFileSource source;
    return source;
}

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
    return {tbk::joinPath(programFolder, "demo-game"), tbk::joinPath(parentOf(programFolder), "share/gorvane/demo-game")};
}

std::string TBKFileSource::minecraftApp() const {
    std::string given = withoutTrailingSlashes(variable(appVariable));
    const std::string what = "application folder (the one holding minecraft.ttf)";
    if (!given.empty()) {
        if (!tbk::isDirectory(given)) notFound(what, {given}, appVariable, "it");
        return given;
    }
    std::vector<std::string> places = installedBundleFolders(programFolder());
    for (const std::string& folder : places) {
        if (tbk::isRegularFile(tbk::joinPath(folder, "minecraft.ttf"))) return folder;
    }
    notFound(what, places, appVariable, "it");
}

std::string TBKFileSource::minecraftSandbox() const {
    std::string data = gameDataFolder();
    for (const char* layout : {"/Documents/games/com.mojang", "/games/com.mojang"}) {
        if (endsWith(data, layout) && data.size() > std::string(layout).size()) {
            return data.substr(0, data.size() - std::string(layout).size());
        }
    }
    return parentOf(data);
}

std::string TBKFileSource::gameDataFolder() const { return gameData(); }

std::string TBKFileSource::worldsFolder() const { return tbk::joinPath(gameDataFolder(), "minecraftWorlds"); }

std::string TBKFileSource::backupsFolder() const { return tbk::joinPath(gameDataFolder(), "gorvane-backups"); }

std::string TBKFileSource::optionsFile() const {
    return tbk::joinPath(gameDataFolder(), "minecraftpe/options.txt");
}
