#pragma once

#include <string>

#include "OwnerPolicy.h"
#include "Tarnbook/TBKWorldArchive.h"

namespace tbk {

// Copies everything below `from` into the new folder `to`, which must not
// exist: every file read and created as the real user could
// (CheckedPath.h), each new file given `owner` and each new folder the same
// with its search bits, every file flushed and every folder synced before
// it returns. A link, or anything but a plain file or folder, is refused
// naming it, before anything is written: copying what it points to would
// take more than the world, leaving it out would lose part of it. Failures
// raise TBKException with `worldName` in the reason. Returns false when
// progress asked to stop; what was copied is then left for the caller to
// remove.
bool copyFolder(const std::string& from, const std::string& to, const FileOwner& owner, const std::string& worldName,
                const TBKProgress& progress);

}  // namespace tbk
