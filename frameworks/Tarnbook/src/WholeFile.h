#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "OwnerPolicy.h"

// A game file read or written whole, as the real user could
// (CheckedPath.h). Failures raise TBKException (FileFailure) naming the
// path and the reason.
namespace tbk {

// The whole file; nullopt when it does not exist. A file longer than
// maxBytes is refused before anything is allocated for it (FormatFailure,
// as for a damaged file): a process of root's must not be made to hold
// whatever a user can make a file claim to be (a sparse file costs them
// nothing). ReadLimits.h names the limit of each kind of file.
std::optional<std::string> readWholeFile(const std::string& path, size_t maxBytes);

// The length of the file, as readWholeFile would find it, without reading
// it; nullopt when it does not exist.
std::optional<uint64_t> wholeFileSize(const std::string& path);

// Replaces path so that a reader, or a crash at any moment, sees either the
// old file or the new one whole: write path.gorvane-tmp, fsync it, rename it
// over path, fsync the folder.
void writeFileAtomically(const std::string& path, std::string_view bytes, const FileOwner& owner);

}  // namespace tbk
