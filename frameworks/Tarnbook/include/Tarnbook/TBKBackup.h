#pragma once

#include <string>
#include <vector>

// One backup Gorvane kept of a world or of the options file, as listed by
// TBKLevelDB::backups() and TBKGameFile::backups(). A backup is a folder
// named for the UTC time it was made; it holds copies of the files and, for a
// world, the player records of its database, one file per record:
// local_player.nbt for "~local_player", <key>.nbt for the others (bytes
// other than letters, digits, '_' and '-' written as %XX).
struct TBKBackup {
  std::string folder;
  // When it was made, in seconds since 1970 (UTC).
  double secondsSince1970 = 0;
  // What it holds: file names ("level.dat", "options.txt") and the keys of
  // the player records ("~local_player", "player_server_...").
  std::vector<std::string> contents;
  // Why it cannot be restored (a file missing or damaged), or "" when it
  // is whole. A damaged backup is never restored, not even in part.
  std::string damage;
  // For a deleted world kept whole (TBKWholeWorld): its level name. Empty
  // for a backup of a world's files and records or of the options.
  std::string worldName;

  bool restorable() const { return damage.empty(); }
};
