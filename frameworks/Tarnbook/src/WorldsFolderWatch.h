#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace tbk {

// The last listing of the worlds folder, kept only while the kernel
// (inotify) vouches that nothing it depends on has changed: an entry of the
// worlds folder added, removed or renamed, a file or folder created, removed
// or renamed inside any world folder (level.dat appearing, disappearing or
// being replaced), the rights or owner of any of these changed, the worlds
// folder itself moved or replaced. Anything the
// watch cannot vouch for (no inotify, the watch limit reached, a lost
// event) means a fresh scan. With it a listing of a thousand worlds costs
// two system calls instead of a thousand checked file lookups.
//
// Not thread-safe; the caller serialises.
class WorldsFolderWatch {
 public:
  // Lists `root` with scan(root, watchFolder): scan calls watchFolder for
  // each folder it looks inside, before looking. Returns the cached
  // listing when nothing watched has changed since the last scan.
  using WatchFolder = std::function<void(const std::string&)>;
  using Scan = std::function<std::vector<std::string>(const std::string&, const WatchFolder&)>;
  std::vector<std::string> list(const std::string& root, const Scan& scan);

  ~WorldsFolderWatch();

 private:
  bool stillValid(const std::string& root, dev_t device, ino_t inode);
  void reset();

  int fd_ = -1;
  bool valid_ = false;
  std::string root_;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  std::vector<std::string> names_;
};

}  // namespace tbk
