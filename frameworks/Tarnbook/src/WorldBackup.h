#pragma once

#include <string>
#include <vector>

#include "OwnerPolicy.h"

namespace tbk {

struct BackupFile {
  std::string name;   // file name inside the backup folder
  std::string bytes;  // its content
};

// How many backups of one world are kept; older ones are removed.
constexpr size_t backupsKept = 10;

// Writes the files into root/<UTC time>/ (for example
// 2026-12-06T15-42-54.123Z, with -2, -3 ... added should two backups fall in
// one millisecond) and then removes all but the newest `keep` backup folders
// of root. Only folders named that way are ever removed. Returns the path of
// the folder made.
std::string writeBackup(const std::string& root, const std::vector<BackupFile>& files, const FileOwner& owner,
                        size_t keep = backupsKept);

// The backup folders of root (the names writeBackup gives), newest first;
// none when root does not exist. Nothing else in root is listed.
std::vector<std::string> listBackups(const std::string& root);

// The folder name a backup made now takes (2026-12-06T15-42-54.123Z).
std::string utcTimeName();

// When the backup of that folder name was made, in seconds since 1970 (UTC).
double backupTime(const std::string& name);

}  // namespace tbk
