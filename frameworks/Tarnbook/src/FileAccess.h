#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

// File helpers shared by the world, backup and database code. Failures raise
// TBKException (FileFailure) naming the path and the system's reason.
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
// replaces, or else the owner of folder with the folder's execute bits
// dropped (a world folder of 0755 gives files of 0644).
FileOwner ownerForFile(const std::string& path, const std::string& folder);

// Gives an open file the owner and mode. Changing the owner is only
// possible as root; for anyone else a file they create is already theirs,
// so that failure is not an error then.
void applyOwner(int fd, const FileOwner& owner, const std::string& path);
void applyOwner(const std::string& path, const FileOwner& owner);

// The whole file; nullopt when it does not exist.
std::optional<std::string> readWholeFile(const std::string& path);

// Replaces path so that a reader, or a crash at any moment, sees either the
// old file or the new one whole: write path.gorvane-tmp, fsync it, rename it
// over path, fsync the folder.
void writeFileAtomically(const std::string& path, std::string_view bytes, const FileOwner& owner);

// Makes the folder's entries (a rename, a new file) survive a crash.
void syncFolder(const std::string& folder);

// Creates the folder (and missing parents) with the owner and mode given;
// a folder that exists is left as it is.
void makeFolders(const std::string& path, const FileOwner& owner);

bool isDirectory(const std::string& path);
bool isRegularFile(const std::string& path);

std::string joinPath(const std::string& folder, std::string_view name);

}  // namespace tbk
