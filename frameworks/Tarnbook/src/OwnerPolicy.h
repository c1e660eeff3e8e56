#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>

#include "FileStatus.h"

// Who a file Gorvane creates or replaces belongs to. Failures raise
// TBKException (FileFailure) naming the path and the reason.
namespace tbk {

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
// replaces, or else the owner of folder with the folder's search bits
// dropped (a world folder of 0755 gives files of 0644).
FileOwner ownerForFile(const std::string& path, const std::string& folder);

// What a folder holding files of `owner` is given: search bits wherever
// the files are readable (files of 0644 give a folder of 0755).
FileOwner folderOwnerFor(const FileOwner& owner);

// The owner a file made for the real user may take. Taking the place of a
// file of the owner asked for, one the user may write, it keeps that owner,
// as writing it in place would; anything new is the user's own, in the
// group asked for only when it is one of theirs. Never the set-user-id or
// set-group-id bits, which a write by anyone but the owner clears.
FileOwner ownerOnBehalf(const FileOwner& wanted, const struct stat* replaced);

// fchown and fchmod of the open file. Changing the owner is only possible
// as root; for anyone else a file they create is already theirs, so that
// failure is not an error then.
FileStatus setOwner(int fd, const FileOwner& owner, const std::string& path);

// Gives an open file the owner and mode. Acting for another user, only a
// file this process made is changed, and it becomes that user's own (in
// the group asked for if it is one of theirs): nothing is given away to a
// third user, and no set-user-id or set-group-id bit is set. A replaced
// file (writeFileAtomically) keeps its owner, as a write in place would.
void applyOwner(int fd, const FileOwner& owner, const std::string& path);
void applyOwner(const std::string& path, const FileOwner& owner);

}  // namespace tbk
