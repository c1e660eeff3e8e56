#include "Tarnbook/TBKFileSource.h"

#include <limits.h>
#include <unistd.h>

#include <cstdlib>

#include "FileAccess.h"
#include "Tarnbook/TBKException.h"

namespace {

std::string folderFromEnvironment(const char* variable, const std::string& what) {
    const char* value = std::getenv(variable);
    if (!value || !*value) {
        throw TBKException(TBKException::SetupFailure,
                           "The game's " + what + " was not found: set " + variable + " to it.");
    }
    std::string folder = value;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (tbk::actingForAnotherUser()) {
        // Links above the game's folders are the user's own business; below
        // them none is followed, so the folder is named by its real path.
        char resolved[PATH_MAX];
        if (::realpath(folder.c_str(), resolved)) folder = resolved;
        try {
            // The real user must be able to read it, as they could themselves.
            int fd = tbk::openFolder(folder, true);
            if (fd >= 0) ::close(fd);
        } catch (const TBKException& error) {
            throw TBKException(TBKException::SetupFailure, "The game's " + what + " at " + folder +
                                                               " cannot be used: " + error.reason());
        }
    }
    if (!tbk::isDirectory(folder)) {
        throw TBKException(TBKException::SetupFailure, "The game's " + what + " was not found at " + folder +
                                                           ": set " + variable + " to it.");
    }
    return folder;
}

}  // namespace

void TBKFileSource::rememberRealUser() { tbk::setRealUser(tbk::RealUser::ofThisProcess()); }

std::optional<std::string> TBKFileSource::contentsOfFile(const std::string& path) {
    return tbk::readWholeFile(path);
}

TBKFileSource& TBKFileSource::sharedSource() {
    static TBKFileSource source;
    return source;
}

std::string TBKFileSource::minecraftApp() const {
    return folderFromEnvironment("TARNBOOK_GAME_APP", "application folder (the one holding minecraft.ttf)");
}

std::string TBKFileSource::minecraftSandbox() const {
    return folderFromEnvironment("TARNBOOK_GAME_SANDBOX", "data folder (the one holding Documents/games)");
}

std::string TBKFileSource::gameDataFolder() const {
    return tbk::joinPath(minecraftSandbox(), "Documents/games/com.mojang");
}

std::string TBKFileSource::worldsFolder() const {
    return tbk::joinPath(gameDataFolder(), "minecraftWorlds");
}

std::string TBKFileSource::backupsFolder() const {
    return tbk::joinPath(gameDataFolder(), "gorvane-backups");
}
