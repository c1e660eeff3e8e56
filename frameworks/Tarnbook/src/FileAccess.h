#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// File helpers shared by the world, backup, options and database code: every
// file Tarnbook reads or writes goes through here. Failures raise
// TBKException (FileFailure) naming the path and the reason.
//
// Gorvane runs as root on behalf of the user who started it. While that
// user (the real user, remembered before the process became root) is not
// the effective one, every path is walked from "/" one folder at a time
// with openat: no symbolic link is followed anywhere, every folder on the way
// must be one the real user may search, and a file is read, replaced or
// created only where that user could do it themselves (owner, group and
// other permission bits or the file's access list, the user's groups, the
// sticky bit). The open
// folder of the walk is what the operation then works in, so a folder
// swapped for a link halfway cannot redirect it. The game's folders are
// resolved once to paths without links (TBKFileSource), which is why a link
// above them is harmless and one inside them is refused.
// Started by root, or by a user for themselves, nothing is checked beyond
// what the system checks.
namespace tbk {

// The user on whose behalf files are touched.
struct RealUser {
  uid_t uid;
  gid_t gid;
  std::vector<gid_t> groups;  // supplementary groups

  // The real ids of this process now.
  static RealUser ofThisProcess();
};

// Tarnbook takes the process's real user when it is loaded, which is before
// main() and so before any setuid(0); rememberRealUser() in TBKFileSource
// takes it again. setRealUser is for tests that act as another user.
void setRealUser(RealUser user);
const RealUser& realUser();
// True while the real user is not the effective one: the checks above apply.
bool actingForAnotherUser();

// Owner, group and permission bits a created or replaced file must take, so
// that the game, which does not run as root, can still write its own world.
struct FileOwner {
  uid_t uid;
  gid_t gid;
  mode_t mode;  // permission bits only
};

// The owner of path; nullopt when it does not exist.
std::optional<FileOwner> ownerOf(const std::string& path);

// What a file at path must be given: the owner and mode of the file it
// replaces, or else the owner of folder with the folder's execute bits
// dropped (a world folder of 0755 gives files of 0644).
FileOwner ownerForFile(const std::string& path, const std::string& folder);

// Gives an open file the owner and mode. Changing the owner is only
// possible as root; for anyone else a file they create is already theirs,
// so that failure is not an error then. Acting for another user, only a
// file this process made is changed, and it becomes that user's own (in
// the group asked for if it is one of theirs): nothing is given away to a
// third user, and no set-user-id or set-group-id bit is set. A replaced
// file (writeFileAtomically) keeps its owner, as a write in place would.
void applyOwner(int fd, const FileOwner& owner, const std::string& path);
void applyOwner(const std::string& path, const FileOwner& owner);

// The whole file; nullopt when it does not exist. A file longer than
// maxBytes is refused before anything is allocated for it (FormatFailure,
// as for a damaged file): a process of root's must not be made to hold
// whatever a user can make a file claim to be (a sparse file costs them
// nothing). ReadLimits.h names the limit of each kind of file.
std::optional<std::string> readWholeFile(const std::string& path, size_t maxBytes);

// Replaces path so that a reader, or a crash at any moment, sees either the
// old file or the new one whole: write path.gorvane-tmp, fsync it, rename it
// over path, fsync the folder.
void writeFileAtomically(const std::string& path, std::string_view bytes, const FileOwner& owner);

// Makes the folder's entries (a rename, a new file) survive a crash.
void syncFolder(const std::string& folder);

// Makes the folder's entries (a rename, a new file) survive a crash.
void syncFolder(const std::string& folder);

// Creates the folder (and missing parents) with the owner and mode given;
// a folder that exists is left as it is.
void makeFolders(const std::string& path, const FileOwner& owner);
// Creates one folder with the owner and mode given (search bits added where
// it is readable); false when something of that name exists already.
bool makeFolder(const std::string& path, const FileOwner& owner);

// Removes a file, or a folder with everything in it, never following a link
// (a link inside is removed, not what it points to).
void removeTree(const std::string& path);

// The names in a folder, without "." and ".."; nullopt when it does not
// exist. Entries that are links are left out while acting for another user.
std::optional<std::vector<std::string>> folderEntries(const std::string& path);

// An open descriptor (O_RDONLY) of the folder, for locking or listing it;
// the caller closes it. A folder that does not exist raises, or gives -1
// when missingIsNone.
int openFolder(const std::string& path, bool missingIsNone = false);

// Opens a file in the manner of open(2): as the real user could, without a
// link. Returns the descriptor, or -1 with errno set; a refusal of the
// checks sets EACCES or ELOOP, and failureReason() then says why.
int openChecked(const std::string& path, int flags, mode_t mode = 0);
// Renames within the game's folders (both must be allowed to the real
// user); without `replace`, an existing `to` is left alone (EEXIST).
// Returns 0 or errno.
int renameChecked(const std::string& from, const std::string& to, bool replace = true);
// Removes one file or empty folder; returns 0 or errno.
int removeChecked(const std::string& path, bool folder);
// The text for a refusal that openChecked, renameChecked or removeChecked
// returned (the last one in this thread).
std::string failureReason(const std::string& path, int error);

// What is at path itself (a link is not followed), looked at as the real
// user could: every folder on the way must be one they may search. A link's
// text goes to linkTarget. inProcesses tells that the folder holding it is
// the kernel's process file system (/proc), whose links lead into other
// processes and whose rights the kernel weighs per process: nothing there
// is looked at. Returns 0 or errno (see failureReason).
int inspectEntry(const std::string& path, struct stat& info, std::string& linkTarget, bool& inProcesses);

bool isDirectory(const std::string& path);
bool isRegularFile(const std::string& path);

std::string joinPath(const std::string& folder, std::string_view name);

}  // namespace tbk
