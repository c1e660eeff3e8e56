#include "Tarnbook/TBKGameFile.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "CheckedPath.h"
#include "OwnerPolicy.h"
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

// The kept file's bytes, or why they cannot be restored.
std::string keptFile(const std::string& folder, const std::string& name, std::string* damage) {
  auto bytes = tbk::readWholeFile(tbk::joinPath(folder, name), tbk::readLimit::optionsFile);
  if (!bytes) {
    *damage = "it has no " + name;
  } else if (bytes->empty()) {
    *damage = "its " + name + " is empty";
  } else if (bytes->find('\0') != std::string::npos) {
    *damage = "its " + name + " is not a text file";
  }
  return bytes.value_or("");
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
    throw TBKException(TBKException::Kind::File, "Could not replace " + path_ + ": " + std::strerror(ENOENT) + ".");
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

std::vector<TBKBackup> TBKGameFile::backups() const {
  std::string root = tbk::joinPath(TBKFileSource::sharedSource().backupsFolder(), backupName_);
  std::vector<TBKBackup> list;
  for (const auto& name : tbk::listBackups(root)) {
    TBKBackup backup;
    backup.folder = tbk::joinPath(root, name);
    backup.secondsSince1970 = tbk::backupTime(name);
    keptFile(backup.folder, fileName(path_), &backup.damage);
    if (tbk::isRegularFile(tbk::joinPath(backup.folder, fileName(path_)))) backup.contents.push_back(fileName(path_));
    list.push_back(std::move(backup));
  }
  return list;
}

std::string TBKGameFile::restoreBackup(const TBKBackup& backup) const {
  std::string damage;
  std::string bytes = keptFile(backup.folder, fileName(path_), &damage);
  if (!damage.empty()) {
    throw TBKException(TBKException::Kind::Format,
                       "This backup cannot be restored: " + damage + ". " + path_ + " was left as it is.");
  }
  auto owner = tbk::ownerOf(path_);
  auto current = tbk::readWholeFile(path_, tbk::readLimit::optionsFile);
  if (!owner || !current) {
    throw TBKException(TBKException::Kind::File, "Could not replace " + path_ + ": " + std::strerror(ENOENT) + ".");
  }
  std::lock_guard<std::mutex> hold(backupsLock);
  std::string root = tbk::joinPath(TBKFileSource::sharedSource().backupsFolder(), backupName_);
  std::string before = tbk::writeBackup(root, {{fileName(path_), std::move(*current)}}, *owner);
  tbk::writeFileAtomically(path_, bytes, *owner);
  backupsMade().erase(path_);
  return before;
}
