#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CheckedPath.h"
#include "OwnerPolicy.h"

// Folders in the game's places, created, listed, flushed and removed as the
// real user could (CheckedPath.h). Failures raise TBKException
// (FileFailure) naming the path and the reason.
namespace tbk {

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
// exist.
std::optional<std::vector<std::string>> folderEntries(const std::string& path);
// The names of the plain files directly in a folder that end in `extension`
// (any case) and are not hidden, sorted, for a person to choose from; none
// when it does not exist. A link is not offered.
std::vector<std::string> filesEndingIn(const std::string& folder, const std::string& extension);

// An open descriptor (O_RDONLY) of the folder, for locking or listing it;
// the caller closes it. A folder that does not exist raises, or gives -1
// when missingIsNone.
int openFolder(const std::string& path, bool missingIsNone = false);

// Makes the folder's entries (a rename, a new file) survive a crash.
void syncFolder(const std::string& folder);
// The same for the folder a walk opened.
FileStatus syncWalkedFolder(const Place& place);

}  // namespace tbk
