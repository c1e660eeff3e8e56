#include "Folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "AccessList.h"
#include "CreationIdentity.h"
#include "PathNames.h"
#include "RealUser.h"

namespace tbk {

namespace {

// The names in the open folder (which this takes over and closes).
std::vector<std::string> namesIn(int fd, const std::string& path) {
  DIR* listing = ::fdopendir(fd);
  if (!listing) {
    int error = errno;
    ::close(fd);
    FileStatus::failed("read the folder", path, error).raise();
  }
  std::vector<std::string> names;
  while (dirent* entry = ::readdir(listing)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  ::closedir(listing);
  return names;
}

// Removes everything inside the open folder.
void removeContents(int folder, const std::string& path) {
  bool acting = actingForAnotherUser();
  uid_t user = realUser().uid;
  struct stat folderInfo;
  if (::fstat(folder, &folderInfo) != 0) FileStatus::failed("inspect", path, errno).raise();
  // Listing it needs the right to read it as well: root must not learn
  // for the user the names in a folder they may not read.
  if (acting && !realUserHolds(folderInfo, R_OK | W_OK | X_OK, folder)) {
    FileStatus::rightRefused(path, "list and change the files of").raise();
  }
  for (const auto& name : namesIn(::dup(folder), path)) {
    std::string inner = joinPath(path, name);
    struct stat info;
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      FileStatus::failed("inspect", inner, errno).raise();
    }
    if (acting && (folderInfo.st_mode & S_ISVTX) && info.st_uid != user && folderInfo.st_uid != user) {
      FileStatus::rightRefused(inner, "remove").raise();
    }
    bool isFolder = S_ISDIR(info.st_mode);
    if (isFolder) {
      FileDescriptor inside(::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (inside.get() < 0) FileStatus::failed("open the folder", inner, errno).raise();
      removeContents(inside.get(), inner);
    }
    if (::unlinkat(folder, name.c_str(), isFolder ? AT_REMOVEDIR : 0) != 0) {
      FileStatus::failed("remove", inner, errno).raise();
    }
  }
}

}  // namespace

bool makeFolder(const std::string& path, const FileOwner& owner) {
  const std::string action = "create the folder";
  Place place;
  walk(path, action, place).raiseIfFailed();
  mayChangeEntry(place, path, nullptr).raiseIfFailed();
  FileOwner folderOwner = folderOwnerFor(owner);
  if (CreationIdentity::create(folderOwner,
                               [&] { return ::mkdirat(place.folder.get(), place.name.c_str(), S_IRWXU); }) != 0) {
    if (errno == EEXIST) return false;
    FileStatus::failed(action, path, errno).raise();
  }
  FileDescriptor fd(::openat(place.folder.get(), place.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) FileStatus::failed("open the folder", path, errno).raise();
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) FileStatus::failed("inspect", path, errno).raise();
  // What stands there now must be what was just made, born the real user's.
  if (actingForAnotherUser() && info.st_uid != realUser().uid) FileStatus::rightRefused(path, "give away").raise();
  applyOwner(fd.get(), folderOwner, path);
  return true;
}

void makeFolders(const std::string& path, const FileOwner& owner) {
  if (isDirectory(path)) return;
  std::string parent = parentFolder(path);
  if (parent != path && !isDirectory(parent)) makeFolders(parent, owner);
  if (makeFolder(path, owner) || isDirectory(path)) return;
  // Something else has that name: say what stands in the way.
  const std::string action = "create the folder";
  Place place;
  struct stat info;
  FileStatus status = walk(path, action, place);
  if (status.ok()) status = entryInfo(place, path, action, info);
  (status.ok() ? FileStatus::failed(action, path, EEXIST) : status).raise();
}

void removeTree(const std::string& path) {
  Place place;
  struct stat info;
  walk(path, "remove", place).raiseIfFailed();
  if (::fstatat(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    FileStatus::failed("remove", path, errno).raise();
  }
  mayChangeEntry(place, path, &info).raiseIfFailed();
  bool isFolder = S_ISDIR(info.st_mode);
  if (isFolder) {
    FileDescriptor inside(
        ::openat(place.folder.get(), place.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (inside.get() < 0) FileStatus::failed("open the folder", path, errno).raise();
    removeContents(inside.get(), path);
  }
  if (::unlinkat(place.folder.get(), place.name.c_str(), isFolder ? AT_REMOVEDIR : 0) != 0) {
    FileStatus::failed("remove", path, errno).raise();
  }
}

std::optional<std::vector<std::string>> folderEntries(const std::string& path) {
  int fd = openFolder(path, true);
  if (fd < 0) return std::nullopt;
  return namesIn(fd, path);
}

std::vector<std::string> filesEndingIn(const std::string& folder, const std::string& extension) {
  std::vector<std::string> found;
  for (auto& name : folderEntries(folder).value_or(std::vector<std::string>())) {
    if (name.size() <= extension.size() || name[0] == '.') continue;
    std::string tail = name.substr(name.size() - extension.size());
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (tail == extension && isRegularFile(joinPath(folder, name))) found.push_back(std::move(name));
  }
  std::sort(found.begin(), found.end());
  return found;
}

int openFolder(const std::string& path, bool missingIsNone) {
  const std::string action = "open the folder";
  Place place;
  FileStatus status = walk(path, action, place);
  bool acting = actingForAnotherUser();
  FileDescriptor fd;
  if (status.ok()) {
    fd.reset(::openat(place.folder.get(), place.name.c_str(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC | (acting ? O_NOFOLLOW : 0)));
    if (fd.get() < 0) {
      status = FileStatus::failed(action, path, errno);
      struct stat info;
      if (acting && ::fstatat(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
          S_ISLNK(info.st_mode)) {
        status = FileStatus::linkRefused(path);
      }
    }
  }
  if (fd.get() >= 0 && acting) {
    struct stat info;
    if (::fstat(fd.get(), &info) != 0 || !realUserHolds(info, R_OK | X_OK, fd.get())) {
      fd.reset(-1);
      status = FileStatus::rightRefused(path, "read");
    }
  }
  if (fd.get() >= 0) return fd.release();
  if (missingIsNone && status.error() == ENOENT) return -1;
  status.raise();
}

void syncFolder(const std::string& folder) {
  FileDescriptor fd(openFolder(folder));
  if (::fsync(fd.get()) != 0 && errno != EINVAL) FileStatus::failed("flush the folder", folder, errno).raise();
}

FileStatus syncWalkedFolder(const Place& place) {
  FileDescriptor fd(::openat(place.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) return FileStatus::failed("open the folder", place.folderPath, errno);
  if (::fsync(fd.get()) != 0 && errno != EINVAL) return FileStatus::failed("flush the folder", place.folderPath, errno);
  return {};
}

}  // namespace tbk
