#include "CheckedPath.h"

#include <fcntl.h>
#include <limits.h>
#include <linux/magic.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "AccessList.h"
#include "CreationIdentity.h"
#include "PathNames.h"
#include "RealUser.h"

namespace tbk {

namespace {

// The walk of a user who is not acted for: the system checks the rest.
FileStatus openParent(const std::string& path, const std::string& absolute, const std::string& action, Place& out) {
  out.folderPath = parentFolder(absolute);
  out.name = baseName(absolute);
  out.folder.reset(::open(out.folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (out.folder.get() < 0 || ::fstat(out.folder.get(), &out.folderInfo) != 0) {
    return FileStatus::failed(action, path, errno);
  }
  return {};
}

// The names of an absolute path; "." and empty names dropped.
FileStatus namesOf(const std::string& path, const std::string& absolute, std::vector<std::string>& names) {
  for (size_t start = 1; start <= absolute.size();) {
    size_t end = absolute.find('/', start);
    if (end == std::string::npos) end = absolute.size();
    std::string name = absolute.substr(start, end - start);
    if (name == "..") {
      return FileStatus::refused(EACCES, path + " climbs out of a folder with \"..\"; Gorvane does not.");
    }
    if (!name.empty() && name != ".") names.push_back(std::move(name));
    start = end + 1;
  }
  return {};
}

FileStatus mayNotSearch(const std::string& walked) {
  return FileStatus::rightRefused(walked.empty() ? "/" : walked, "look into");
}

}  // namespace

FileStatus walk(const std::string& path, const std::string& action, Place& out) {
  std::string absolute = path;
  while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
  if (absolute.empty()) return FileStatus::failed(action, path, ENOENT);
  if (absolute.front() != '/') {
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd)) return FileStatus::failed(action, path, errno);
    absolute = joinPath(cwd, absolute);
  }
  if (!actingForAnotherUser()) return openParent(path, absolute, action, out);

  std::vector<std::string> names;
  if (FileStatus status = namesOf(path, absolute, names); !status.ok()) return status;
  if (names.empty()) return FileStatus::failed(action, path, EISDIR);

  FileDescriptor folder(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
  struct stat info;
  if (folder.get() < 0 || ::fstat(folder.get(), &info) != 0) return FileStatus::failed(action, "/", errno);
  std::string walked;
  for (size_t i = 0; i + 1 < names.size(); ++i) {
    if (!realUserHolds(info, X_OK, folder.get())) return mayNotSearch(walked);
    walked += "/" + names[i];
    FileDescriptor next(::openat(folder.get(), names[i].c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (next.get() < 0 || ::fstat(next.get(), &info) != 0) return FileStatus::failed(action, path, errno);
    if (S_ISLNK(info.st_mode)) return FileStatus::linkRefused(walked);
    if (!S_ISDIR(info.st_mode)) return FileStatus::failed(action, path, ENOTDIR);
    folder.reset(next.release());
  }
  if (!realUserHolds(info, X_OK, folder.get())) return mayNotSearch(walked);
  out.folder.reset(folder.release());
  out.folderPath = walked.empty() ? "/" : walked;
  out.name = names.back();
  out.folderInfo = info;
  return {};
}

FileStatus entryInfo(const Place& place, const std::string& path, const std::string& action, struct stat& info) {
  bool acting = actingForAnotherUser();
  if (::fstatat(place.folder.get(), place.name.c_str(), &info, acting ? AT_SYMLINK_NOFOLLOW : 0) != 0) {
    return FileStatus::failed(action, path, errno);
  }
  if (acting && S_ISLNK(info.st_mode)) return FileStatus::linkRefused(path);
  return {};
}

FileStatus mayChangeEntry(const Place& place, const std::string& path, const struct stat* existing) {
  if (!actingForAnotherUser()) return {};
  if (!realUserHolds(place.folderInfo, W_OK | X_OK, place.folder.get())) {
    return FileStatus::rightRefused(place.folderPath, "change the files of");
  }
  uid_t user = realUser().uid;
  if (existing && (place.folderInfo.st_mode & S_ISVTX) && existing->st_uid != user && place.folderInfo.st_uid != user) {
    return FileStatus::rightRefused(path, "replace");
  }
  return {};
}

namespace {

FileStatus notPlain(const std::string& path) {
  return FileStatus::refused(EACCES, path + " is not a plain file; Gorvane only reads and writes plain files.");
}

// The checks of openChecked on a file that is there, open as fd.
FileStatus checkOpened(const std::string& path, int flags, int fd) {
  int access = flags & O_ACCMODE;
  int wanted = (access != O_WRONLY ? R_OK : 0) | (access != O_RDONLY || (flags & O_TRUNC) ? W_OK : 0);
  struct stat info;
  if (::fstat(fd, &info) != 0) return FileStatus::failed("inspect", path, errno);
  if (!S_ISREG(info.st_mode)) return notPlain(path);
  if (!realUserHolds(info, wanted, fd)) return FileStatus::rightRefused(path, wanted & W_OK ? "write" : "read");
  if ((flags & O_CREAT) && (flags & O_EXCL)) return FileStatus::failed("create", path, EEXIST);
  if ((flags & O_TRUNC) && ::ftruncate(fd, 0) != 0) return FileStatus::failed("empty", path, errno);
  if (!(flags & O_NONBLOCK) && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    return FileStatus::failed("open", path, errno);
  }
  return {};
}

FileStatus openIn(const Place& place, const std::string& path, int flags, mode_t mode, FileDescriptor& out,
                  bool* created) {
  if (!actingForAnotherUser()) {
    // Root's own files too: a FIFO would hold the open (and the program)
    // until someone writes to it, and nothing but a plain file is the game's.
    FileDescriptor fd(::openat(place.folder.get(), place.name.c_str(), flags | O_CLOEXEC | O_NONBLOCK, mode));
    if (fd.get() < 0) return FileStatus::failed("open", path, errno);
    struct stat info;
    if (::fstat(fd.get(), &info) != 0) return FileStatus::failed("inspect", path, errno);
    if (!S_ISREG(info.st_mode)) return notPlain(path);
    if (!(flags & O_NONBLOCK) && ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK) != 0) {
      return FileStatus::failed("open", path, errno);
    }
    out.reset(fd.release());
    return {};
  }
  for (int attempt = 0; attempt < 3; ++attempt) {
    int existingFlags = (flags & ~(O_CREAT | O_EXCL | O_TRUNC)) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    FileDescriptor fd(::openat(place.folder.get(), place.name.c_str(), existingFlags));
    if (fd.get() >= 0) {
      FileStatus checked = checkOpened(path, flags, fd.get());
      if (checked.ok()) out.reset(fd.release());
      return checked;
    }
    if (errno == ELOOP) return FileStatus::linkRefused(path);
    if (errno != ENOENT || !(flags & O_CREAT)) return FileStatus::failed("open", path, errno);
    if (FileStatus refusal = mayChangeEntry(place, path, nullptr); !refusal.ok()) return refusal;
    out.reset(CreationIdentity::create(FileOwner{realUser().uid, realUser().gid, mode}, [&] {
      return ::openat(place.folder.get(), place.name.c_str(), flags | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    }));
    if (out.get() >= 0) {
      if (created) *created = true;
      return {};
    }
    if (errno != EEXIST || (flags & O_EXCL)) return FileStatus::failed("create", path, errno);
    // Something of that name appeared in between: look at it again.
  }
  return FileStatus::failed("open", path, EAGAIN);
}

}  // namespace

FileStatus openChecked(const std::string& path, int flags, mode_t mode, FileDescriptor& out, bool* created) {
  if (created) *created = false;
  Place place;
  if (FileStatus status = walk(path, "open", place); !status.ok()) return status;
  return openIn(place, path, flags, mode, out, created);
}

FileStatus renameChecked(const std::string& from, const std::string& to, bool replace) {
  Place source, target;
  struct stat sourceInfo, targetInfo;
  FileStatus status = walk(from, "rename", source);
  if (status.ok()) status = entryInfo(source, from, "rename", sourceInfo);
  if (status.ok()) status = mayChangeEntry(source, from, &sourceInfo);
  if (status.ok()) status = walk(to, "rename to", target);
  if (!status.ok()) return status;
  FileStatus targetStatus = entryInfo(target, to, "rename to", targetInfo);
  if (!targetStatus.ok() && targetStatus.error() != ENOENT) return targetStatus;
  status = mayChangeEntry(target, to, targetStatus.ok() ? &targetInfo : nullptr);
  if (!status.ok()) return status;
  if (::renameat2(source.folder.get(), source.name.c_str(), target.folder.get(), target.name.c_str(),
                  replace ? 0 : RENAME_NOREPLACE) != 0) {
    return FileStatus::failed("rename " + from + " to", to, errno);
  }
  return {};
}

FileStatus removeChecked(const std::string& path, bool folder) {
  Place place;
  struct stat info;
  FileStatus status = walk(path, "remove", place);
  if (status.ok() && ::fstatat(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    status = FileStatus::failed("remove", path, errno);
  }
  if (status.ok()) status = mayChangeEntry(place, path, &info);
  if (status.ok() && ::unlinkat(place.folder.get(), place.name.c_str(), folder ? AT_REMOVEDIR : 0) != 0) {
    status = FileStatus::failed("remove", path, errno);
  }
  return status;
}

FileStatus inspectEntry(const std::string& path, struct stat& info, std::string& linkTarget, bool& inProcesses) {
  Place place;
  linkTarget.clear();
  inProcesses = false;
  if (FileStatus status = walk(path, "inspect", place); !status.ok()) return status;
  struct statfs system;
  inProcesses = ::fstatfs(place.folder.get(), &system) == 0 && system.f_type == PROC_SUPER_MAGIC;
  if (inProcesses) return {};
  if (::fstatat(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    return FileStatus::failed("inspect", path, errno);
  }
  if (!S_ISLNK(info.st_mode)) return {};
  char target[PATH_MAX];
  ssize_t length = ::readlinkat(place.folder.get(), place.name.c_str(), target, sizeof target);
  if (length < 0) return FileStatus::failed("read the link", path, errno);
  if (static_cast<size_t>(length) >= sizeof target) return FileStatus::failed("read the link", path, ENAMETOOLONG);
  linkTarget.assign(target, static_cast<size_t>(length));
  return {};
}

namespace {

bool isOfType(const std::string& path, mode_t type) {
  Place place;
  struct stat info;
  return walk(path, "inspect", place).ok() && entryInfo(place, path, "inspect", info).ok() &&
         (info.st_mode & S_IFMT) == type;
}

}  // namespace

bool isDirectory(const std::string& path) { return isOfType(path, S_IFDIR); }

bool isRegularFile(const std::string& path) { return isOfType(path, S_IFREG); }

}  // namespace tbk
