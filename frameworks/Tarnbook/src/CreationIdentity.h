#pragma once

#include <sys/types.h>

#include <cerrno>
#include <vector>

#include "OwnerPolicy.h"
#include "RealUser.h"

namespace tbk {

// While it lives, files and folders this thread creates are born with the
// owner they are meant for, rather than made as root and given away
// afterwards: an exception or the process's death in between would
// otherwise leave a root-owned file in the user's folders. It switches the
// thread's file-system user and group ids (setfsuid, setfsgid, which Linux
// keeps per thread) and its supplementary groups, so the kernel also weighs
// the create with that user's rights alone; the destructor switches back.
//
// Acting for another user (CheckedPath.h), files are born the real user's,
// in the group wanted when it is one of theirs (ownerOnBehalf gives a
// replaced file's other owner afterwards, as before). Otherwise they are
// born `wanted`'s. A process that is not root, or a file meant for root,
// switches nothing.
class CreationIdentity {
 public:
  explicit CreationIdentity(const FileOwner& wanted);
  ~CreationIdentity();
  CreationIdentity(const CreationIdentity&) = delete;
  CreationIdentity& operator=(const CreationIdentity&) = delete;

  // Whether the ids were switched.
  bool switched() const { return switched_; }

  // Runs create (an openat or mkdirat, returning -1 with errno set on
  // failure) as the owner. Not acting for another user, a create the owner
  // may not make there is made as root, whose rights are then the user's.
  template <class Create>
  static int create(const FileOwner& wanted, Create create);

 private:
  bool switched_ = false;
  uid_t savedUid_ = 0;
  gid_t savedGid_ = 0;
  std::vector<gid_t> savedGroups_;
};

template <class Create>
int CreationIdentity::create(const FileOwner& wanted, Create create) {
  bool switched;
  int result;
  {
    CreationIdentity identity(wanted);
    switched = identity.switched();
    result = create();
  }
  if (result >= 0 || !switched || actingForAnotherUser() || (errno != EACCES && errno != EPERM)) return result;
  return create();
}

}  // namespace tbk
