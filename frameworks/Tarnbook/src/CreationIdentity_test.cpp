#include "CreationIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <future>
#include <thread>

#include "ActingForNobody.h"

namespace {

using tbktest::ActingForNobody;
using tbktest::nobody;

uid_t bornTo(const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  struct stat info {};
  if (fd >= 0) ::fstat(fd, &info), ::close(fd);
  return fd >= 0 ? info.st_uid : uid_t(-1);
}

TEST_F(ActingForNobody, FilesAreBornTheRealUsersOnTheCreatingThreadAlone) {
  std::string place = folder("place", nobody, tbktest::nogroup, 0755), roots = folder("roots", 0, 0, 0755);
  std::promise<void> go;  // a thread already there, as LevelDB's compaction thread is
  uid_t elsewhere = 1;
  std::thread other([&, started = go.get_future()] { started.wait(), elsewhere = bornTo(place + "/elsewhere"); });
  {
    tbk::CreationIdentity identity(tbk::FileOwner{tbktest::someoneElse, tbktest::nogroup, 0644});
    EXPECT_EQ(bornTo(place + "/inside"), nobody);
    EXPECT_EQ(bornTo(roots + "/inside"), uid_t(-1)) << "the system weighs it with nobody's rights";
    go.set_value();
    other.join();
  }
  EXPECT_EQ(elsewhere, 0u) << "another thread's ids switched too";
  EXPECT_EQ(bornTo(place + "/after"), 0u) << "not switched back";
}

}  // namespace
