#include "WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "AccessList.h"
#include "CheckedPath.h"
#include "CreationIdentity.h"
#include "Folders.h"
#include "PathNames.h"
#include "ReadLimits.h"
#include "RealUser.h"

namespace tbk {

namespace {

// The open file and its length; nothing when it does not exist.
std::optional<uint64_t> openWhole(const std::string& path, FileDescriptor& fd) {
  if (FileStatus opened = openChecked(path, O_RDONLY, 0, fd); !opened.ok()) {
    if (opened.error() == ENOENT) return std::nullopt;
    opened.raise();
  }
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) FileStatus::failed("inspect", path, errno).raise();
  return static_cast<uint64_t>(info.st_size);
}

}  // namespace

std::optional<uint64_t> wholeFileSize(const std::string& path) {
  FileDescriptor fd;
  return openWhole(path, fd);
}

std::optional<std::string> readWholeFile(const std::string& path, size_t maxBytes) {
  FileDescriptor fd;
  std::optional<uint64_t> size = openWhole(path, fd);
  if (!size) return std::nullopt;
  checkReadLimit(path, *size, maxBytes);
  std::string bytes;
  bytes.reserve(static_cast<size_t>(*size));
  char buffer[65536];
  for (;;) {
    // A file that grows while it is read is held to the same limit.
    checkReadLimit(path, bytes.size(), maxBytes);
    ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) continue;
      FileStatus::failed("read", path, errno).raise();
    }
    if (count == 0) break;
    bytes.append(buffer, static_cast<size_t>(count));
  }
  return bytes;
}

namespace {

// Whether the file at the place may be replaced for the real user: a plain
// file they may write (looked at again through a descriptor of its own, so
// that one swapped in meanwhile is caught), in a folder whose files they may
// change. existing is what is there (nullptr: nothing).
FileStatus mayReplace(const Place& place, const std::string& path, const struct stat* existing) {
  if (existing && actingForAnotherUser()) {
    if (!S_ISREG(existing->st_mode)) {
      return FileStatus::refused(EACCES, path + " is not a plain file; Gorvane does not replace it.");
    }
    FileDescriptor target(::openat(place.folder.get(), place.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat targetInfo;
    if (target.get() < 0 || ::fstat(target.get(), &targetInfo) != 0 || targetInfo.st_ino != existing->st_ino ||
        !realUserHolds(targetInfo, W_OK, target.get())) {
      return FileStatus::rightRefused(path, "write");
    }
  }
  return mayChangeEntry(place, path, existing);
}

FileStatus writeAll(int fd, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      return FileStatus::failed("write", path, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(count));
  }
  return {};
}

// Writes the temporary file in full, flushed and closed, and renames it
// over the place's name.
FileStatus writeAndRename(const Place& place, const std::string& temporary, FileDescriptor& fd, std::string_view bytes,
                          const FileOwner& owner, const std::string& path) {
  std::string temporaryPath = joinPath(place.folderPath, temporary);
  FileStatus status = setOwner(fd.get(), owner, temporaryPath);
  if (status.ok()) status = writeAll(fd.get(), bytes, temporaryPath);
  if (status.ok() && ::fsync(fd.get()) != 0) status = FileStatus::failed("flush", temporaryPath, errno);
  if (status.ok() && ::close(fd.release()) != 0) status = FileStatus::failed("close", temporaryPath, errno);
  if (status.ok() && ::renameat(place.folder.get(), temporary.c_str(), place.folder.get(), place.name.c_str()) != 0) {
    status = FileStatus::failed("replace", path, errno);
  }
  return status;
}

}  // namespace

void writeFileAtomically(const std::string& path, std::string_view bytes, const FileOwner& owner) {
  Place place;
  walk(path, "replace", place).raiseIfFailed();
  struct stat existing;
  FileStatus found = entryInfo(place, path, "replace", existing);
  if (!found.ok() && found.error() != ENOENT) found.raise();
  const struct stat* replaced = found.ok() ? &existing : nullptr;
  mayReplace(place, path, replaced).raiseIfFailed();

  std::string temporary = place.name + ".gorvane-tmp";
  // A leftover of an earlier run goes first, so that the new file is made
  // afresh and never written through whatever stood at that name.
  struct stat leftover;
  if (::fstatat(place.folder.get(), temporary.c_str(), &leftover, AT_SYMLINK_NOFOLLOW) == 0 &&
      ::unlinkat(place.folder.get(), temporary.c_str(), 0) != 0 && errno != ENOENT) {
    FileStatus::failed("remove", joinPath(place.folderPath, temporary), errno).raise();
  }
  FileOwner given = actingForAnotherUser() ? ownerOnBehalf(owner, replaced) : owner;
  FileDescriptor fd(CreationIdentity::create(given, [&] {
    return ::openat(place.folder.get(), temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                    S_IRUSR | S_IWUSR);
  }));
  if (fd.get() < 0) FileStatus::failed("create", joinPath(place.folderPath, temporary), errno).raise();
  if (FileStatus written = writeAndRename(place, temporary, fd, bytes, given, path); !written.ok()) {
    ::unlinkat(place.folder.get(), temporary.c_str(), 0);
    written.raise();
  }
  syncWalkedFolder(place).raiseIfFailed();
}

}  // namespace tbk
