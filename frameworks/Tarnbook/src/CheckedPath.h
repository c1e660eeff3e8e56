#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "FileDescriptor.h"
#include "FileStatus.h"

// Every file Tarnbook reads or writes is reached through here.
//
// Gorvane runs as root on behalf of the user who started it. While that
// user (the real user, remembered before the process became root) is not
// the effective one, every path is walked from "/" one folder at a time
// with openat: no symbolic link is followed anywhere, every folder on the way
// must be one the real user may search, and a file is read, replaced or
// created only where that user could do it themselves (owner, group and
// other permission bits or the file's access list, the user's groups, the
// sticky bit). The open folder of the walk is what the operation then works
// in, so a folder swapped for a link halfway cannot redirect it. The game's
// folders are resolved once to paths without links (TBKFileSource), which
// is why a link above them is harmless and one inside them is refused.
// Started by root, or by a user for themselves, nothing is checked beyond
// what the system checks.
namespace tbk {

// The folder a file operation works in, opened by the walk, and the name
// of the file (or folder) in it.
struct Place {
  FileDescriptor folder;  // O_PATH
  std::string folderPath;
  std::string name;
  struct stat folderInfo {};
};

// Opens the folder of path into out. Acting for another user: from "/",
// one name at a time, refusing links, "..", and folders that user may not
// search. `action` ("replace", "open", ...) names the caller's operation in
// the reason of a failure.
FileStatus walk(const std::string& path, const std::string& action, Place& out);

// What is at the place (a link itself while acting for another user, and
// then refused).
FileStatus entryInfo(const Place& place, const std::string& path, const std::string& action, struct stat& info);

// Whether the real user may add, replace or remove the name at the place:
// write and search on the folder, and in a sticky folder (like /tmp) only
// their own files or in their own folder. existing is what is there now.
FileStatus mayChangeEntry(const Place& place, const std::string& path, const struct stat* existing);

// Opens a file in the manner of open(2), as the real user could: never
// through a link, only a regular file, checked on the descriptor itself (so
// a file swapped in at the last moment is caught), and truncated only after
// that check. On success out holds the descriptor. Acting for another
// user, a file it creates is born theirs, and *created (if given) says
// whether it did.
FileStatus openChecked(const std::string& path, int flags, mode_t mode, FileDescriptor& out, bool* created = nullptr);

// Renames within the game's folders (both must be allowed to the real
// user); without `replace`, an existing `to` is left alone (EEXIST).
FileStatus renameChecked(const std::string& from, const std::string& to, bool replace = true);

// Removes one file or empty folder.
FileStatus removeChecked(const std::string& path, bool folder);

// What is at path itself (a link is not followed), looked at as the real
// user could: every folder on the way must be one they may search. A link's
// text goes to linkTarget. inProcesses tells that the folder holding it is
// the kernel's process file system (/proc), whose links lead into other
// processes and whose rights the kernel weighs per process: nothing there
// is looked at, and the status is then ok.
FileStatus inspectEntry(const std::string& path, struct stat& info, std::string& linkTarget, bool& inProcesses);

bool isDirectory(const std::string& path);
bool isRegularFile(const std::string& path);

}  // namespace tbk
