#include "FileAccess.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "LittleEndian.h"
#include "ReadLimits.h"
#include "Tarnbook/TBKException.h"

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

namespace {

// Taken while the library is loaded, before main() runs: a program that
// forgets to remember its user still checks against the right one.
RealUser rememberedUser = RealUser::ofThisProcess();

// Why the last check in this thread refused (EACCES or ELOOP), in words.
thread_local std::string lastRefusal;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

[[noreturn]] void fileFailure(const std::string& action, const std::string& path, int error) {
  if ((error == EACCES || error == ELOOP) && !lastRefusal.empty()) {
    throw TBKException(TBKException::FileFailure, lastRefusal);
  }
  throw TBKException(TBKException::FileFailure, "Could not " + action + " " + path + ": " + std::strerror(error) + ".");
}

int refuse(int error, std::string reason) {
  lastRefusal = std::move(reason);
  return error;
}

int refuseLink(const std::string& path) {
  return refuse(ELOOP, path +
                           " is a symbolic link. Gorvane does not follow links inside the game's folders: "
                           "put the file or folder itself there.");
}

int refuseRight(const std::string& path, const std::string& right) {
  return refuse(EACCES, "The user who started Gorvane (uid " + std::to_string(rememberedUser.uid) + ") may not " +
                            right + " " + path + ", so Gorvane does not either.");
}

bool inGroup(gid_t gid) {
  const RealUser& user = rememberedUser;
  return gid == user.gid || std::find(user.groups.begin(), user.groups.end(), gid) != user.groups.end();
}

// The POSIX access list of the file open as fd, as the kernel keeps it in
// an extended attribute: little-endian, a version word, then entries of tag,
// permission bits and id. Empty when the file has none.
struct AccessEntry {
  uint16_t tag;
  uint16_t perm;
  uint32_t id;
};
constexpr uint16_t aclUserObj = 0x01, aclUser = 0x02, aclGroupObj = 0x04, aclGroup = 0x08, aclMask = 0x10,
                   aclOther = 0x20;

// Returns false when the list cannot be read (then nothing is allowed).
bool accessList(int fd, std::vector<AccessEntry>& entries) {
  entries.clear();
  // Through /proc, which also serves descriptors opened only as paths.
  std::string self = "/proc/self/fd/" + std::to_string(fd);
  unsigned char buffer[4 + 8 * 64];
  ssize_t size = ::getxattr(self.c_str(), "system.posix_acl_access", buffer, sizeof buffer);
  if (size < 0) return errno == ENODATA || errno == ENOTSUP;
  if (size < 4 || (size - 4) % 8 != 0 || buffer[0] != 2) return false;
  for (ssize_t at = 4; at < size; at += 8) {
    const unsigned char* e = buffer + at;
    entries.push_back({tbk::readLittleEndian<uint16_t>(e), tbk::readLittleEndian<uint16_t>(e + 2),
                       tbk::readLittleEndian<uint32_t>(e + 4)});
  }
  return true;
}

// Whether the real user holds `bits` (4 read, 2 write, 1 search) on the
// file open as fd, whose status is info: the owner, group and other bits,
// or its access list when it has one, weighed as the kernel weighs them.
bool permits(const struct stat& info, int bits, int fd) {
  const RealUser& user = rememberedUser;
  if (user.uid == 0) return true;
  auto grants = [bits](int granted) { return (granted & bits) == bits; };
  std::vector<AccessEntry> entries;
  if (!accessList(fd, entries)) return false;
  if (info.st_uid == user.uid) return grants((info.st_mode >> 6) & 7);
  if (entries.empty()) {
    return grants(inGroup(info.st_gid) ? (info.st_mode >> 3) & 7 : info.st_mode & 7);
  }
  int mask = 7;
  for (const auto& e : entries) {
    if (e.tag == aclMask) mask = e.perm;
  }
  for (const auto& e : entries) {
    if (e.tag == aclUser && e.id == user.uid) return grants(e.perm & mask);
  }
  bool inAGroup = false;
  for (const auto& e : entries) {
    bool matches = (e.tag == aclGroupObj && inGroup(info.st_gid)) || (e.tag == aclGroup && inGroup(e.id));
    if (!matches) continue;
    if (grants(e.perm & mask)) return true;
    inAGroup = true;
  }
  if (inAGroup) return false;
  for (const auto& e : entries) {
    if (e.tag == aclOther) return grants(e.perm);
  }
  return false;
}

std::string parentFolder(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string baseName(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The folder a file operation works in, opened by the walk, and the name
// of the file (or folder) in it.
struct Place {
  FileDescriptor folder;
  std::string folderPath;
  std::string name;
  struct stat folderInfo {};
};

// Opens the folder of path. Acting for another user: from "/", one name at
// a time, refusing links, "..", and folders that user may not search.
// Returns 0 or errno.
int walk(const std::string& path, Place& out) {
  lastRefusal.clear();
  std::string absolute = path;
  while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
  if (absolute.empty()) return ENOENT;
  if (absolute.front() != '/') {
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd)) return errno;
    absolute = joinPath(cwd, absolute);
  }
  if (!actingForAnotherUser()) {
    out.folderPath = parentFolder(absolute);
    out.name = baseName(absolute);
    out.folder.reset(::open(out.folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (out.folder.get() < 0 || ::fstat(out.folder.get(), &out.folderInfo) != 0) return errno;
    return 0;
  }

  std::vector<std::string> names;
  for (size_t start = 1; start <= absolute.size();) {
    size_t end = absolute.find('/', start);
    if (end == std::string::npos) end = absolute.size();
    std::string name = absolute.substr(start, end - start);
    if (name == "..") return refuse(EACCES, path + " climbs out of a folder with \"..\"; Gorvane does not.");
    if (!name.empty() && name != ".") names.push_back(std::move(name));
    start = end + 1;
  }
  if (names.empty()) return EISDIR;

  FileDescriptor folder(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
  struct stat info;
  if (folder.get() < 0 || ::fstat(folder.get(), &info) != 0) return errno;
  std::string walked;
  for (size_t i = 0; i + 1 < names.size(); ++i) {
    if (!permits(info, 1, folder.get())) return refuseRight(walked.empty() ? "/" : walked, "look into");
    walked += "/" + names[i];
    FileDescriptor next(::openat(folder.get(), names[i].c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (next.get() < 0 || ::fstat(next.get(), &info) != 0) return errno;
    if (S_ISLNK(info.st_mode)) return refuseLink(walked);
    if (!S_ISDIR(info.st_mode)) return ENOTDIR;
    folder.reset(next.release());
  }
  if (!permits(info, 1, folder.get())) return refuseRight(walked.empty() ? "/" : walked, "look into");
  out.folder.reset(folder.release());
  out.folderPath = walked.empty() ? "/" : walked;
  out.name = names.back();
  out.folderInfo = info;
  return 0;
}

// What is at the place (a link itself, while acting for another user, and
// then refused). Returns 0 or errno.
int entryInfo(const Place& place, const std::string& path, struct stat& info) {
  bool acting = actingForAnotherUser();
  if (::fstatat(place.folder.get(), place.name.c_str(), &info, acting ? AT_SYMLINK_NOFOLLOW : 0) != 0) {
    return errno;
  }
  if (acting && S_ISLNK(info.st_mode)) return refuseLink(path);
  return 0;
}

// Whether the real user may add, replace or remove the name at the place:
// write and search on the folder, and in a sticky folder (like /tmp) only
// their own files or in their own folder.
int mayChangeEntry(const Place& place, const std::string& path, const struct stat* existing) {
  if (!actingForAnotherUser()) return 0;
  if (!permits(place.folderInfo, 2 | 1, place.folder.get())) {
    return refuseRight(place.folderPath, "change the files of");
  }
  uid_t user = rememberedUser.uid;
  if (existing && (place.folderInfo.st_mode & S_ISVTX) && existing->st_uid != user && place.folderInfo.st_uid != user) {
    return refuseRight(path, "replace");
  }
  return 0;
}

// openat in the place, as the real user could: never through a link, only a
// regular file, checked on the descriptor itself (so a file swapped in at
// the last moment is caught), and truncated only after that check.
int openIn(const Place& place, const std::string& path, int flags, mode_t mode) {
  if (!actingForAnotherUser()) return ::openat(place.folder.get(), place.name.c_str(), flags | O_CLOEXEC, mode);
  int access = flags & O_ACCMODE;
  int wanted = (access != O_WRONLY ? 4 : 0) | (access != O_RDONLY || (flags & O_TRUNC) ? 2 : 0);
  for (int attempt = 0; attempt < 3; ++attempt) {
    int existingFlags = (flags & ~(O_CREAT | O_EXCL | O_TRUNC)) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    FileDescriptor fd(::openat(place.folder.get(), place.name.c_str(), existingFlags));
    if (fd.get() >= 0) {
      struct stat info;
      if (::fstat(fd.get(), &info) != 0) return -1;
      int refusal = 0;
      if (!S_ISREG(info.st_mode)) {
        refusal = refuse(EACCES, path + " is not a plain file; Gorvane only reads and writes plain files.");
      } else if (!permits(info, wanted, fd.get())) {
        refusal = refuseRight(path, wanted & 2 ? "write" : "read");
      } else if ((flags & O_CREAT) && (flags & O_EXCL)) {
        refusal = EEXIST;
      } else if ((flags & O_TRUNC) && ::ftruncate(fd.get(), 0) != 0) {
        refusal = errno;
      } else if (!(flags & O_NONBLOCK) && ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK) != 0) {
        refusal = errno;
      }
      if (refusal) {
        errno = refusal;
        return -1;
      }
      return fd.release();
    }
    if (errno == ELOOP) {
      errno = refuseLink(path);
      return -1;
    }
    if (errno != ENOENT || !(flags & O_CREAT)) return -1;
    if (int refusal = mayChangeEntry(place, path, nullptr)) {
      errno = refusal;
      return -1;
    }
    int created = ::openat(place.folder.get(), place.name.c_str(), flags | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (created >= 0 || errno != EEXIST || (flags & O_EXCL)) return created;
    // Something of that name appeared in between: look at it again.
  }
  errno = EAGAIN;
  return -1;
}

void setOwner(int fd, const FileOwner& owner, const std::string& path) {
  if (::fchown(fd, owner.uid, owner.gid) != 0 && (::geteuid() == 0 || errno != EPERM)) {
    fileFailure("set the owner of", path, errno);
  }
  if (::fchmod(fd, owner.mode) != 0) fileFailure("set the permissions of", path, errno);
}

// The owner a file made for the real user may take. Taking the place of a
// file of the owner asked for, one the user may write, it keeps that owner,
// as writing it in place would; anything new is the user's own, in the
// group asked for only when it is one of theirs. Never the set-user-id or
// set-group-id bits, which a write by anyone but the owner clears.
FileOwner ownerOnBehalf(const FileOwner& wanted, const struct stat* replaced) {
  FileOwner owner = wanted;
  owner.mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
  if (replaced && replaced->st_uid == wanted.uid && replaced->st_gid == wanted.gid) return owner;
  if (owner.uid != rememberedUser.uid) owner.uid = rememberedUser.uid;
  if (!inGroup(owner.gid)) owner.gid = rememberedUser.gid;
  return owner;
}

void syncFolder(const Place& place) {
  FileDescriptor fd(::openat(place.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) fileFailure("open the folder", place.folderPath, errno);
  if (::fsync(fd.get()) != 0 && errno != EINVAL) fileFailure("flush the folder", place.folderPath, errno);
}

// The names in the open folder (which this takes over and closes).
std::vector<std::string> namesIn(int fd, const std::string& path) {
  DIR* listing = ::fdopendir(fd);
  if (!listing) {
    int error = errno;
    ::close(fd);
    fileFailure("read the folder", path, error);
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
  struct stat folderInfo;
  if (::fstat(folder, &folderInfo) != 0) fileFailure("inspect", path, errno);
  // Listing it needs the right to read it as well: root must not learn
  // for the user the names in a folder they may not read.
  if (acting && !permits(folderInfo, 4 | 2 | 1, folder)) {
    fileFailure("remove", path, refuseRight(path, "list and change the files of"));
  }
  for (const auto& name : namesIn(::dup(folder), path)) {
    std::string inner = joinPath(path, name);
    struct stat info;
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) fileFailure("inspect", inner, errno);
    if (acting && (folderInfo.st_mode & S_ISVTX) && info.st_uid != rememberedUser.uid &&
        folderInfo.st_uid != rememberedUser.uid) {
      fileFailure("remove", inner, refuseRight(inner, "remove"));
    }
    bool isFolder = S_ISDIR(info.st_mode);
    if (isFolder) {
      FileDescriptor inside(::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (inside.get() < 0) fileFailure("open the folder", inner, errno);
      removeContents(inside.get(), inner);
    }
    if (::unlinkat(folder, name.c_str(), isFolder ? AT_REMOVEDIR : 0) != 0) fileFailure("remove", inner, errno);
  }
}

}  // namespace

void setRealUser(RealUser user) { rememberedUser = std::move(user); }

const RealUser& realUser() { return rememberedUser; }

bool actingForAnotherUser() { return rememberedUser.uid != ::geteuid(); }

std::optional<FileOwner> ownerOf(const std::string& path) {
  Place place;
  struct stat info;
  int error = walk(path, place);
  if (!error) error = entryInfo(place, path, info);
  if (error == ENOENT || error == ENOTDIR) return std::nullopt;
  if (error) fileFailure("inspect", path, error);
  return FileOwner{info.st_uid, info.st_gid, static_cast<mode_t>(info.st_mode & 07777)};
}

FileOwner ownerForFile(const std::string& path, const std::string& folder) {
  if (auto existing = ownerOf(path)) return *existing;
  auto parent = ownerOf(folder);
  if (!parent) fileFailure("find the folder", folder, ENOENT);
  parent->mode &= 0666;
  return *parent;
}

void applyOwner(int fd, const FileOwner& owner, const std::string& path) {
  if (actingForAnotherUser()) {
    // Only what this process has just made is given an owner: anything
    // else was put there by someone and stays as they left it.
    struct stat info;
    if (::fstat(fd, &info) != 0) fileFailure("inspect", path, errno);
    if (info.st_uid != ::geteuid()) return;
    setOwner(fd, ownerOnBehalf(owner, nullptr), path);
    return;
  }
  setOwner(fd, owner, path);
}

void applyOwner(const std::string& path, const FileOwner& owner) {
  Place place;
  if (int error = walk(path, place)) fileFailure("open", path, error);
  FileDescriptor fd(::openat(place.folder.get(), place.name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
  if (fd.get() < 0) fileFailure("open", path, errno == ELOOP ? refuseLink(path) : errno);
  // Only what this process has just made is given away: anything else at
  // that name was put there by someone, and stays theirs.
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) fileFailure("inspect", path, errno);
  if (actingForAnotherUser() && info.st_uid != ::geteuid()) {
    fileFailure("set the owner of", path, refuseRight(path, "give away"));
  }
  applyOwner(fd.get(), owner, path);
}

int openChecked(const std::string& path, int flags, mode_t mode) {
  Place place;
  if (int error = walk(path, place)) {
    errno = error;
    return -1;
  }
  return openIn(place, path, flags, mode);
}

std::string failureReason(const std::string& path, int error) {
  if ((error == EACCES || error == ELOOP) && !lastRefusal.empty()) return lastRefusal;
  return path + ": " + std::strerror(error);
}

std::optional<std::string> readWholeFile(const std::string& path, size_t maxBytes) {
  FileDescriptor fd(openChecked(path, O_RDONLY));
  if (fd.get() < 0) {
    if (errno == ENOENT) return std::nullopt;
    fileFailure("open", path, errno);
  }
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) fileFailure("inspect", path, errno);
  checkReadLimit(path, static_cast<uint64_t>(info.st_size), maxBytes);
  std::string bytes;
  bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    // A file that grows while it is read is held to the same limit.
    checkReadLimit(path, bytes.size(), maxBytes);
    ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) continue;
      fileFailure("read", path, errno);
    }
    if (count == 0) break;
    bytes.append(buffer, static_cast<size_t>(count));
  }
  return bytes;
}

void writeFileAtomically(const std::string& path, std::string_view bytes, const FileOwner& owner) {
  Place place;
  if (int error = walk(path, place)) fileFailure("replace", path, error);
  struct stat existing;
  int error = entryInfo(place, path, existing);
  if (error && error != ENOENT) fileFailure("replace", path, error);
  bool exists = !error;
  if (exists && actingForAnotherUser()) {
    if (!S_ISREG(existing.st_mode)) {
      fileFailure("replace", path, refuse(EACCES, path + " is not a plain file; Gorvane does not replace it."));
    }
    FileDescriptor target(::openat(place.folder.get(), place.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat targetInfo;
    if (target.get() < 0 || ::fstat(target.get(), &targetInfo) != 0 || targetInfo.st_ino != existing.st_ino ||
        !permits(targetInfo, 2, target.get())) {
      fileFailure("replace", path, refuseRight(path, "write"));
    }
  }
  if (int refusal = mayChangeEntry(place, path, exists ? &existing : nullptr)) {
    fileFailure("replace", path, refusal);
  }

  std::string temporary = place.name + ".gorvane-tmp";
  std::string temporaryPath = joinPath(place.folderPath, temporary);
  // A leftover of an earlier run goes first, so that the new file is made
  // afresh and never written through whatever stood at that name.
  struct stat leftover;
  if (::fstatat(place.folder.get(), temporary.c_str(), &leftover, AT_SYMLINK_NOFOLLOW) == 0 &&
      ::unlinkat(place.folder.get(), temporary.c_str(), 0) != 0 && errno != ENOENT) {
    fileFailure("remove", temporaryPath, errno);
  }
  FileDescriptor fd(
      ::openat(place.folder.get(), temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (fd.get() < 0) fileFailure("create", temporaryPath, errno);
  try {
    if (actingForAnotherUser()) {
      setOwner(fd.get(), ownerOnBehalf(owner, exists ? &existing : nullptr), temporaryPath);
    } else {
      setOwner(fd.get(), owner, temporaryPath);
    }
    const char* next = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
      ssize_t count = ::write(fd.get(), next, left);
      if (count < 0) {
        if (errno == EINTR) continue;
        fileFailure("write", temporaryPath, errno);
      }
      next += count;
      left -= static_cast<size_t>(count);
    }
    if (::fsync(fd.get()) != 0) fileFailure("flush", temporaryPath, errno);
    if (::close(fd.release()) != 0) fileFailure("close", temporaryPath, errno);
    if (::renameat(place.folder.get(), temporary.c_str(), place.folder.get(), place.name.c_str()) != 0) {
      fileFailure("replace", path, errno);
    }
  } catch (...) {
    ::unlinkat(place.folder.get(), temporary.c_str(), 0);
    throw;
  }
  syncFolder(place);
}

bool makeFolder(const std::string& path, const FileOwner& owner) {
  Place place;
  if (int error = walk(path, place)) fileFailure("create the folder", path, error);
  if (int refusal = mayChangeEntry(place, path, nullptr)) fileFailure("create the folder", path, refusal);
  if (::mkdirat(place.folder.get(), place.name.c_str(), 0700) != 0) {
    if (errno == EEXIST) return false;
    fileFailure("create the folder", path, errno);
  }
  FileDescriptor fd(::openat(place.folder.get(), place.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) fileFailure("open the folder", path, errno);
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) fileFailure("inspect", path, errno);
  if (actingForAnotherUser() && info.st_uid != ::geteuid()) {
    fileFailure("set the owner of", path, refuseRight(path, "give away"));
  }
  FileOwner folderOwner = owner;
  // A folder needs its search bits wherever its files are readable.
  folderOwner.mode |= (owner.mode & 0444) >> 2;
  applyOwner(fd.get(), folderOwner, path);
  return true;
}

void makeFolders(const std::string& path, const FileOwner& owner) {
  if (isDirectory(path)) return;
  std::string parent = parentFolder(path);
  if (parent != path && !isDirectory(parent)) makeFolders(parent, owner);
  if (makeFolder(path, owner) || isDirectory(path)) return;
  Place place;
  struct stat info;
  int error = walk(path, place);
  if (!error) error = entryInfo(place, path, info);
  fileFailure("create the folder", path, error ? error : EEXIST);
}

void removeTree(const std::string& path) {
  Place place;
  struct stat info;
  int error = walk(path, place);
  if (!error && ::fstatat(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) error = errno;
  if (error) fileFailure("remove", path, error);
  if (int refusal = mayChangeEntry(place, path, &info)) fileFailure("remove", path, refusal);
  bool isFolder = S_ISDIR(info.st_mode);
  if (isFolder) {
    FileDescriptor inside(
        ::openat(place.folder.get(), place.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (inside.get() < 0) fileFailure("open the folder", path, errno);
    removeContents(inside.get(), path);
  }
  if (::unlinkat(place.folder.get(), place.name.c_str(), isFolder ? AT_REMOVEDIR : 0) != 0) {
    fileFailure("remove", path, errno);
  }
}

int removeChecked(const std::string& path, bool folder) {
  Place place;
  struct stat info;
  int error = walk(path, place);
  if (!error && ::fstatat(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) error = errno;
  if (!error) error = mayChangeEntry(place, path, &info);
  if (!error && ::unlinkat(place.folder.get(), place.name.c_str(), folder ? AT_REMOVEDIR : 0) != 0) error = errno;
  return error;
}

void syncFolder(const std::string& folder) {
  FileDescriptor fd(openFolder(folder));
  if (::fsync(fd.get()) != 0 && errno != EINVAL) fileFailure("flush the folder", folder, errno);
}

int renameChecked(const std::string& from, const std::string& to, bool replace) {
  Place source, target;
  struct stat sourceInfo, targetInfo;
  int error = walk(from, source);
  if (!error) error = entryInfo(source, from, sourceInfo);
  if (!error) error = mayChangeEntry(source, from, &sourceInfo);
  if (!error) error = walk(to, target);
  if (error) return error;
  int targetError = entryInfo(target, to, targetInfo);
  if (targetError && targetError != ENOENT) return targetError;
  if (int refusal = mayChangeEntry(target, to, targetError ? nullptr : &targetInfo)) return refusal;
  if (::renameat2(source.folder.get(), source.name.c_str(), target.folder.get(), target.name.c_str(),
                  replace ? 0 : RENAME_NOREPLACE) != 0) {
    return errno;
  }
  return 0;
}

std::optional<std::vector<std::string>> folderEntries(const std::string& path) {
  int fd = openFolder(path, true);
  if (fd < 0) return std::nullopt;
  return namesIn(fd, path);
}

int openFolder(const std::string& path, bool missingIsNone) {
  Place place;
  int error = walk(path, place);
  bool acting = actingForAnotherUser();
  int fd = -1;
  if (!error) {
    fd = ::openat(place.folder.get(), place.name.c_str(),
                  O_RDONLY | O_DIRECTORY | O_CLOEXEC | (acting ? O_NOFOLLOW : 0));
    if (fd < 0) {
      error = errno;
      struct stat info;
      if (acting && ::fstatat(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
          S_ISLNK(info.st_mode)) {
        error = refuseLink(path);
      }
    }
  }
  if (fd >= 0 && acting) {
    struct stat info;
    if (::fstat(fd, &info) != 0 || !permits(info, 4 | 1, fd)) {
      ::close(fd);
      fd = -1;
      error = refuseRight(path, "read");
    }
  }
  if (fd >= 0) return fd;
  if (missingIsNone && error == ENOENT) return -1;
  fileFailure("open the folder", path, error);
}

int inspectEntry(const std::string& path, struct stat& info, std::string& linkTarget, bool& inProcesses) {
  Place place;
  linkTarget.clear();
  inProcesses = false;
  if (int error = walk(path, place)) return error;
  struct statfs system;
  inProcesses = ::fstatfs(place.folder.get(), &system) == 0 && system.f_type == PROC_SUPER_MAGIC;
  if (inProcesses) return 0;
  if (::fstatat(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return errno;
  if (!S_ISLNK(info.st_mode)) return 0;
  char target[PATH_MAX];
  ssize_t length = ::readlinkat(place.folder.get(), place.name.c_str(), target, sizeof target);
  if (length < 0) return errno;
  if (static_cast<size_t>(length) >= sizeof target) return ENAMETOOLONG;
  linkTarget.assign(target, static_cast<size_t>(length));
  return 0;
}

bool isDirectory(const std::string& path) {
  Place place;
  struct stat info;
  return walk(path, place) == 0 && entryInfo(place, path, info) == 0 && S_ISDIR(info.st_mode);
}

bool isRegularFile(const std::string& path) {
  Place place;
  struct stat info;
  return walk(path, place) == 0 && entryInfo(place, path, info) == 0 && S_ISREG(info.st_mode);
}

std::string joinPath(const std::string& folder, std::string_view name) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  if (path.empty()) return std::string(name);
  if (path.back() != '/') path.push_back('/');
  path.append(name);
  return path;
}

}  // namespace tbk
