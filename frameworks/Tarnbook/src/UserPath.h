#pragma once

#include <string>

namespace tbk {

// path with its links resolved one at a time as the real user could follow
// them: each link is read through the checked walk (CheckedPath.h), so every
// folder on the way must be one the user may search, and nothing in /proc
// is looked at. Never realpath() as root: that would follow what the user
// may not, and the answer (or the lack of one) would tell them about
// folders they cannot look into. From the first name that does not exist,
// the rest is kept as written. A refusal raises TBKException (FileFailure)
// whose reason names only what the user could have found out themselves.
std::string resolvedAsRealUser(const std::string& path);

}  // namespace tbk
