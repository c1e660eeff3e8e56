#include "Tarnbook/TBKGameFile.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "FileAccess.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKFileSource.h"
#include "WorldBackup.h"

namespace {

// The backup each path got in this run. A process edits one game, so this
// stays as small as the number of files it edits.
std::mutex backupsLock;
std::map<std::string, std::string>& backupsMade() {
    static std::map<std::string, std::string> made;
    return made;
}

std::string fileName(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TBKGameFile::TBKGameFile(std::string path, std::string backupName)
    : _path(std::move(path)), _backupName(std::move(backupName)) {}

std::optional<std::string> TBKGameFile::read() const {
    return tbk::readWholeFile(_path);
}

void TBKGameFile::replace(std::string_view bytes) const {
    // The owner is taken from the file itself, never from its folder: a file
    // that has gone is not brought back under someone else's name.
    auto owner = tbk::ownerOf(_path);
    if (!owner) {
        throw TBKException(TBKException::FileFailure,
                           "Could not replace " + _path + ": " + std::strerror(ENOENT) + ".");
    }
    tbk::writeFileAtomically(_path, bytes, *owner);
}

std::string TBKGameFile::backUpOnce() const {
    std::lock_guard<std::mutex> hold(backupsLock);
    auto& made = backupsMade();
    if (auto found = made.find(_path); found != made.end()) return found->second;
    auto bytes = tbk::readWholeFile(_path);
    auto owner = tbk::ownerOf(_path);
    if (!bytes || !owner) return "";
    std::string root = tbk::joinPath(TBKFileSource::sharedSource().backupsFolder(), _backupName);
    std::string folder = tbk::writeBackup(root, {{fileName(_path), std::move(*bytes)}}, *owner);
    made.emplace(_path, folder);
    return folder;
}
