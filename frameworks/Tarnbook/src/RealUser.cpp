#include "RealUser.h"

#include <unistd.h>

#include <algorithm>

namespace tbk {

RealUser RealUser::ofThisProcess() {
  RealUser user{::getuid(), ::getgid(), {}};
  int count = ::getgroups(0, nullptr);
  if (count > 0) {
    user.groups.resize(static_cast<size_t>(count));
    count = ::getgroups(count, user.groups.data());
    user.groups.resize(count > 0 ? static_cast<size_t>(count) : 0);
  }
  return user;
}

bool RealUser::isInGroup(gid_t group) const {
  return group == gid || std::find(groups.begin(), groups.end(), group) != groups.end();
}

namespace {

// Taken while the library is loaded, before main() runs: a program that
// forgets to remember its user still checks against the right one.
RealUser rememberedUser = RealUser::ofThisProcess();

}  // namespace

void setRealUser(RealUser user) { rememberedUser = std::move(user); }

const RealUser& realUser() { return rememberedUser; }

bool actingForAnotherUser() { return rememberedUser.uid != ::geteuid(); }

}  // namespace tbk
