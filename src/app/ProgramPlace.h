#pragma once

#include <string>

// Started set-user-id, Gorvane is root for anyone who can start it; that is
// only safe while no one but root can change the program or put another in
// its place. A folder on the way that someone else may write lets them
// rename the program's folder away and put their own libraries, plugins or
// resources where the program looks for them.

// Why this program may not run set-user-id where it lies, or "" when it
// may: its own file and every folder above it must be root's alone, which
// no folder others may write is, sticky or not (like /tmp): anyone may put
// a hard link of the program there.
std::string programPlaceProblem();
