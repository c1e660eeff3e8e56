#include "WorldBackup.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Folders.h"
#include "PathNames.h"
#include "Tarnbook/TBKException.h"
#include "WholeFile.h"

namespace tbk {

namespace {

constexpr const char* stagingPrefix = ".incomplete-";

}  // namespace

std::string utcTimeName() {
  timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  tm utc;
  ::gmtime_r(&now.tv_sec, &utc);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d-%02d-%02d.%03ldZ", utc.tm_year + 1900, utc.tm_mon + 1,
                utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<long>(now.tv_nsec / 1000000) % 1000);
  return text;
}

namespace {

// YYYY-MM-DDTHH-MM-SS.mmmZ, optionally followed by -N.
bool isBackupName(const std::string& name) {
  static const char pattern[] = "dddd-dd-ddTdd-dd-dd.dddZ";
  if (name.size() < sizeof pattern - 1) return false;
  for (size_t i = 0; i + 1 < sizeof pattern; ++i) {
    bool digit = name[i] >= '0' && name[i] <= '9';
    if (pattern[i] == 'd' ? !digit : name[i] != pattern[i]) return false;
  }
  return true;
}

// Sorts oldest first; a -N suffix comes after the plain name of the same time.
bool olderThan(const std::string& a, const std::string& b) {
  const size_t stamp = 24;
  int byTime = a.compare(0, stamp, b, 0, stamp);
  if (byTime != 0) return byTime < 0;
  auto suffix = [&](const std::string& name) {
    return name.size() > stamp + 1 ? std::strtol(name.c_str() + stamp + 1, nullptr, 10) : 1L;
  };
  return suffix(a) < suffix(b);
}

// Removes the backups beyond the newest `keep`, and what a backup killed
// halfway left behind.
void prune(const std::string& root, size_t keep) {
  std::vector<std::string> backups;
  std::vector<std::string> abandoned;
  for (auto& name : folderEntries(root).value_or(std::vector<std::string>())) {
    if (!isDirectory(joinPath(root, name))) continue;
    if (isBackupName(name)) backups.push_back(name);
    if (name.rfind(stagingPrefix, 0) == 0) abandoned.push_back(name);
  }
  for (const auto& name : abandoned) {
    try {
      removeTree(joinPath(root, name));
    } catch (const TBKException&) {
      // Left for the next backup to clear.
    }
  }
  if (backups.size() <= keep) return;
  std::sort(backups.begin(), backups.end(), olderThan);
  for (size_t i = 0; i + keep < backups.size(); ++i) {
    // Renamed out of the backups' names first: removal killed halfway
    // must not leave a backup that lacks files.
    std::string doomed = joinPath(root, stagingPrefix + backups[i]);
    if (FileStatus renamed = renameChecked(joinPath(root, backups[i]), doomed); !renamed.ok()) {
      throw TBKException(TBKException::Kind::File,
                         "Could not remove the old backup " + joinPath(root, backups[i]) + ". " + renamed.reason());
    }
    removeTree(doomed);
  }
}

}  // namespace

std::string writeBackup(const std::string& root, const std::vector<BackupFile>& files, const FileOwner& owner,
                        size_t keep) {
  makeFolders(root, owner);

  // The files are gathered in a folder whose name is never a backup's and
  // only then renamed into place: a process killed halfway leaves no folder
  // that looks like a whole backup but misses files.
  std::string stamp = utcTimeName();
  std::string staging = joinPath(root, stagingPrefix + stamp + "-" + std::to_string(::getpid()));
  if (!makeFolder(staging, owner)) {
    throw TBKException(TBKException::Kind::File,
                       "Could not create the backup folder " + staging + ": " + std::strerror(EEXIST) + ".");
  }
  std::string folder;
  try {
    for (const auto& file : files) writeFileAtomically(joinPath(staging, file.name), file.bytes, owner);
    std::string base = joinPath(root, stamp);
    folder = base;
    for (int attempt = 2;; ++attempt) {
      FileStatus renamed = renameChecked(staging, folder, false);
      if (renamed.ok()) break;
      if (renamed.error() != EEXIST && renamed.error() != ENOTEMPTY) {
        throw TBKException(TBKException::Kind::File,
                           "Could not name the backup folder " + folder + ". " + renamed.reason());
      }
      folder = base + "-" + std::to_string(attempt);
    }
  } catch (...) {
    try {
      removeTree(staging);
    } catch (const TBKException&) {
      // The next backup clears it.
    }
    throw;
  }
  syncFolder(root);
  prune(root, keep);
  return folder;
}

std::vector<std::string> listBackups(const std::string& root) {
  std::vector<std::string> backups;
  for (auto& name : folderEntries(root).value_or(std::vector<std::string>())) {
    if (isBackupName(name) && isDirectory(joinPath(root, name))) backups.push_back(std::move(name));
  }
  std::sort(backups.begin(), backups.end(), [](const std::string& a, const std::string& b) { return olderThan(b, a); });
  return backups;
}

double backupTime(const std::string& name) {
  if (!isBackupName(name)) return 0;
  tm utc{};
  auto number = [&](size_t at, size_t length) { return std::atoi(name.substr(at, length).c_str()); };
  utc.tm_year = number(0, 4) - 1900;
  utc.tm_mon = number(5, 2) - 1;
  utc.tm_mday = number(8, 2);
  utc.tm_hour = number(11, 2);
  utc.tm_min = number(14, 2);
  utc.tm_sec = number(17, 2);
  return double(::timegm(&utc)) + number(20, 3) / 1000.0;
}

}  // namespace tbk
