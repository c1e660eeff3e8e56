#include "WorldsFolderWatch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tbk {

namespace {

// IN_ATTRIB too: while acting for another user, whether a world is listed
// depends on its rights.
constexpr uint32_t watchedEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ATTRIB | IN_ONLYDIR;

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
  if (::stat(root.c_str(), &info) != 0) {
    reset();
    return scan(root, [](const std::string&) {});
  }
  if (stillValid(root, info.st_dev, info.st_ino)) return names_;

  // The watches go in before the scan looks, so a change during the scan
  // is reported on the next call rather than lost.
  reset();
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  bool watching = fd_ >= 0;
  auto watch = [&](const std::string& folder) {
    if (!watching || ::inotify_add_watch(fd_, folder.c_str(), watchedEvents) >= 0) return;
    // Not a folder (a link to a file, or gone already): nothing inside
    // it can become a world, and its own change shows in the root.
    if (errno != ENOTDIR && errno != ENOENT) watching = false;
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
