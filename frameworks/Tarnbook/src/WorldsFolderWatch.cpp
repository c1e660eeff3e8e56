#include "WorldsFolderWatch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "Folders.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

// IN_ATTRIB too: while acting for another user, whether a world is listed
// depends on its rights.
constexpr uint32_t watchedEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ATTRIB | IN_ONLYDIR;

// The folder opened as the real user could open it (no link, their right
// to read it); -1 when it is missing or refused. Watching a folder tells
// what it holds, as reading it does, and inotify itself would follow links
// and ask nothing of root.
int openWatched(const std::string& folder) {
  try {
    return openFolder(folder, true);
  } catch (const TBKException&) {
    return -1;
  }
}

}  // namespace

WorldsFolderWatch::~WorldsFolderWatch() { reset(); }

void WorldsFolderWatch::reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  valid_ = false;
  names_.clear();
}

// True when no watched change has been reported; reading drains the queue.
bool WorldsFolderWatch::stillValid(const std::string& root, dev_t device, ino_t inode) {
  if (!valid_ || fd_ < 0 || root != root_ || device != device_ || inode != inode_) return false;
  alignas(inotify_event) char buffer[4096];
  ssize_t n = ::read(fd_, buffer, sizeof buffer);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
  return false;
}

std::vector<std::string> WorldsFolderWatch::list(const std::string& root, const Scan& scan) {
  struct stat info;
  int rootFolder = openWatched(root);
  bool seen = rootFolder >= 0 && ::fstat(rootFolder, &info) == 0;
  if (!seen) {
    if (rootFolder >= 0) ::close(rootFolder);
    reset();
    return scan(root, [](const std::string&) {});
  }
  ::close(rootFolder);
  if (stillValid(root, info.st_dev, info.st_ino)) return names_;

  // The watches go in before the scan looks, so a change during the scan
  // is reported on the next call rather than lost.
  reset();
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  bool watching = fd_ >= 0;
  auto watch = [&](const std::string& folder) {
    // Not a folder (a file, a link, or gone already): nothing inside it
    // can become a world, and its own change shows in the root.
    if (!watching || !isDirectory(folder)) return;
    int opened = openWatched(folder);
    if (opened < 0) {
      // A folder the user may not read cannot be vouched for.
      watching = false;
      return;
    }
    // Through the open folder: what is watched is what was checked.
    std::string self = "/proc/self/fd/" + std::to_string(opened);
    if (::inotify_add_watch(fd_, self.c_str(), watchedEvents) < 0) watching = false;
    ::close(opened);
  };
  watch(root);
  std::vector<std::string> names = scan(root, watch);
  if (!watching) {
    reset();
    return names;
  }
  valid_ = true;
  root_ = root;
  device_ = info.st_dev;
  inode_ = info.st_ino;
  names_ = names;
  return names;
}

}  // namespace tbk
