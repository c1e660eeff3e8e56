#include "CreationIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>
#include <thread>

#include "ActingForNobody.h"

namespace {

using tbktest::ActingForNobody;
using tbktest::nobody;
using tbktest::nogroup;

// The owner of a file made now at path.
uid_t bornTo(const std::string& path) {
  uid_t owner = 1;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  struct stat info;
  if (fd >= 0 && ::fstat(fd, &info) == 0) owner = info.st_uid;
  if (fd >= 0) ::close(fd);
  return owner;
}

TEST_F(ActingForNobody, FilesAreBornTheRealUsersOnTheCreatingThreadAlone) {
  std::string place = folder("place", nobody, nogroup, 0755);
  uid_t inside, elsewhere = 1;
  // A thread that was there before, as LevelDB's compaction thread is (a
  // thread made meanwhile starts with the ids of the one that made it).
  std::promise<void> go;
  std::thread other([&, started = go.get_future()]() mutable {
    started.wait();
    elsewhere = bornTo(place + "/elsewhere");
  });
  {
    tbk::CreationIdentity identity(tbk::FileOwner{tbktest::someoneElse, nogroup, 0644});
    inside = bornTo(place + "/inside");
    go.set_value();
    other.join();
  }
  EXPECT_EQ(inside, nobody);
  EXPECT_EQ(elsewhere, 0u) << "another thread's ids switched too";
  EXPECT_EQ(bornTo(place + "/after"), 0u) << "not switched back";
  // Nobody may not create where only root may write: the kernel weighs it.
  std::string roots = folder("roots", 0, 0, 0755);
  tbk::CreationIdentity identity(tbk::FileOwner{nobody, nogroup, 0644});
  EXPECT_EQ(::open((roots + "/file").c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600), -1);
}

}  // namespace
