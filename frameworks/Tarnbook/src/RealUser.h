#pragma once

#include <sys/types.h>

#include <vector>

namespace tbk {

// The user on whose behalf files are touched.
struct RealUser {
  uid_t uid;
  gid_t gid;
  std::vector<gid_t> groups;  // supplementary groups

  // The real ids of this process now.
  static RealUser ofThisProcess();
  // Whether gid is the user's group or one of their supplementary groups.
  bool isInGroup(gid_t gid) const;
};

// Tarnbook takes the process's real user when it is loaded, which is before
// main() and so before any setuid(0); rememberRealUser() in TBKFileSource
// takes it again. setRealUser is for tests that act as another user.
void setRealUser(RealUser user);
const RealUser& realUser();
// True while the real user is not the effective one: the checks of
// CheckedPath.h apply.
bool actingForAnotherUser();

}  // namespace tbk
