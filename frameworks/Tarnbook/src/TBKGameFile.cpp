#include "Tarnbook/TBKGameFile.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "PathNames.h"
#include "ReadLimits.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKFileSource.h"
#include "WholeFile.h"
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
    : path_(std::move(path)), backupName_(std::move(backupName)) {}

std::optional<std::string> TBKGameFile::read() const { return tbk::readWholeFile(path_, tbk::readLimit::optionsFile); }

void TBKGameFile::replace(std::string_view bytes) const {
  // The owner is taken from the file itself, never from its folder: a file
  // that has gone is not brought back under someone else's name.
  auto owner = tbk::ownerOf(path_);
  if (!owner) {
    throw TBKException(TBKException::FileFailure, "Could not replace " + path_ + ": " + std::strerror(ENOENT) + ".");
  }
  tbk::writeFileAtomically(path_, bytes, *owner);
}

std::string TBKGameFile::backUpOnce() const {
  std::lock_guard<std::mutex> hold(backupsLock);
  auto& made = backupsMade();
  if (auto found = made.find(path_); found != made.end()) return found->second;
  auto bytes = tbk::readWholeFile(path_, tbk::readLimit::optionsFile);
  auto owner = tbk::ownerOf(path_);
  if (!bytes || !owner) return "";
  std::string root = tbk::joinPath(TBKFileSource::sharedSource().backupsFolder(), backupName_);
  std::string folder = tbk::writeBackup(root, {{fileName(path_), std::move(*bytes)}}, *owner);
  made.emplace(path_, folder);
  return folder;
}
