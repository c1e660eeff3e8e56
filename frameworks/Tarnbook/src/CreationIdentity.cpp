#include "CreationIdentity.h"

#include <sys/syscall.h>
#include <unistd.h>

#include "RealUser.h"

namespace tbk {

namespace {

// The raw calls: glibc's wrappers change every thread of the process, and
// another thread (LevelDB's compaction, a worker) must keep root's ids.
int setThreadGroups(const std::vector<gid_t>& groups) {
  return int(::syscall(SYS_setgroups, groups.size(), groups.empty() ? nullptr : groups.data()));
}
uid_t setThreadFileUser(uid_t uid) { return uid_t(::syscall(SYS_setfsuid, uid)); }
gid_t setThreadFileGroup(gid_t gid) { return gid_t(::syscall(SYS_setfsgid, gid)); }

}  // namespace

CreationIdentity::CreationIdentity(const FileOwner& wanted) {
  if (::geteuid() != 0) return;
  uid_t uid = wanted.uid;
  gid_t gid = wanted.gid;
  std::vector<gid_t> groups;
  bool acting = actingForAnotherUser();
  if (acting) {
    const RealUser& user = realUser();
    uid = user.uid;
    gid = user.isInGroup(wanted.gid) ? wanted.gid : user.gid;
    groups = user.groups;
  }
  if (uid == 0) return;
  int count = ::getgroups(0, nullptr);
  savedGroups_.resize(size_t(count > 0 ? count : 0));
  if (count > 0 && ::getgroups(count, savedGroups_.data()) != count) return;
  savedGid_ = setThreadFileGroup(gid);
  savedUid_ = setThreadFileUser(uid);
  switched_ = true;
  if (acting) setThreadGroups(groups);
}

CreationIdentity::~CreationIdentity() {
  if (!switched_) return;
  setThreadFileUser(savedUid_);
  setThreadFileGroup(savedGid_);
  setThreadGroups(savedGroups_);
}

}  // namespace tbk
