#pragma once

#include <sys/types.h>

#include <string>

// Started set-user-id, Gorvane is root for anyone who can start it; that is
// only safe while no one but root can change the program or put another in
// its place. A folder on the way that someone else may write lets them
// rename the program's folder away and put their own libraries, plugins or
// resources where the program looks for them.

// Whether no one but root may change a file or folder of this owner and
// mode. A sticky folder of root's (like /tmp) counts: others may add to it
// but may not rename or remove what root put there.
bool onlyRootMayChange(uid_t owner, mode_t mode, bool isFolder);

// Why this program may not run set-user-id where it lies, or "" when it
// may: its own file and every folder above it must be root's alone.
std::string programPlaceProblem();
