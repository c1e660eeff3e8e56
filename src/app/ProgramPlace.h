#pragma once

#include <string>

// Started set-user-id, Gorvane is root for anyone who can start it; that is
// only safe while no one but root can change the program or put another in
// its place. A folder on the way that someone else may write lets them
// rename the program's folder away and put their own libraries, plugins or
// resources where the program looks for them.

// Why this program may not run set-user-id where it lies, or "" when it
// may: its own file and every folder above it must be root's alone. A
// sticky folder of root's (like /tmp) counts: others may add to it but may
// not rename or remove what root put there.
std::string programPlaceProblem();
