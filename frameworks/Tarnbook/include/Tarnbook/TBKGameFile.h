#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Tarnbook/TBKBackup.h"

// One file of the game's own data that is read and replaced as a whole (the
// options file). It goes through the same file checks as the worlds' files.
// Every failure raises TBKException (FileFailure) naming the path and the
// system's reason; nothing is cached between calls.
class TBKGameFile {
 public:
  // path: the file. backupName: the folder under the game's backups folder
  // (TBKFileSource::backupsFolder()) that keeps this file's backups, for
  // example "options".
  TBKGameFile(std::string path, std::string backupName);

  const std::string& path() const { return path_; }

  // The whole file as it is now; nullopt when it does not exist.
  std::optional<std::string> read() const;

  // Replaces the file by bytes so that a reader, or a crash at any moment,
  // sees the old file or the new one whole: a temporary file beside it,
  // fsync, rename over the file, fsync of the folder. The new file keeps the
  // old one's owner, group and mode. A file that does not exist is never
  // created: that raises, and nothing is written.
  void replace(std::string_view bytes) const;

  // Keeps the file as it is now under
  // <backups folder>/<backupName>/<UTC time>/<file name>, owned like the
  // file, and removes all but the newest ten backups there. Does so once per
  // run for each path: later calls do nothing. Returns the backup's folder
  // (the first call's, on later calls), or "" when there was no file to
  // keep.
  std::string backUpOnce() const;

  // The file's backups, newest first. One that lacks the file, or holds an
  // empty one or one with NUL bytes (not a text file), cannot be restored.
  std::vector<TBKBackup> backups() const;
  // Replaces the file, atomically and keeping its owner and mode, by the
  // one `backup` holds, after keeping the file as it is now as a backup of
  // its own (one of the ten kept; its folder is returned), so that the
  // restore can be undone the same way. A backup that cannot be restored,
  // or a file that no longer exists, raises before anything is written.
  // The next change backs the file up again.
  std::string restoreBackup(const TBKBackup& backup) const;

 private:
  std::string path_;
  std::string backupName_;
};
