#include "OwnerPolicy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "CheckedPath.h"
#include "RealUser.h"

namespace tbk {

std::optional<FileOwner> ownerOf(const std::string& path) {
  Place place;
  struct stat info;
  FileStatus status = walk(path, "inspect", place);
  if (status.ok()) status = entryInfo(place, path, "inspect", info);
  if (status.error() == ENOENT || status.error() == ENOTDIR) return std::nullopt;
  status.raiseIfFailed();
  return FileOwner{info.st_uid, info.st_gid, static_cast<mode_t>(info.st_mode & 07777)};
}

FileOwner ownerForFile(const std::string& path, const std::string& folder) {
  if (auto existing = ownerOf(path)) return *existing;
  auto parent = ownerOf(folder);
  if (!parent) FileStatus::failed("find the folder", folder, ENOENT).raise();
  parent->mode &= S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
  return *parent;
}

FileOwner folderOwnerFor(const FileOwner& owner) {
  FileOwner folder = owner;
  folder.mode |= (owner.mode & (S_IRUSR | S_IRGRP | S_IROTH)) >> 2;
  return folder;
}

FileOwner ownerOnBehalf(const FileOwner& wanted, const struct stat* replaced) {
  FileOwner owner = wanted;
  owner.mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
  if (replaced && replaced->st_uid == wanted.uid && replaced->st_gid == wanted.gid) return owner;
  const RealUser& user = realUser();
  owner.uid = user.uid;
  if (!user.isInGroup(owner.gid)) owner.gid = user.gid;
  return owner;
}

FileStatus setOwner(int fd, const FileOwner& owner, const std::string& path) {
  if (::fchown(fd, owner.uid, owner.gid) != 0 && (::geteuid() == 0 || errno != EPERM)) {
    return FileStatus::failed("set the owner of", path, errno);
  }
  if (::fchmod(fd, owner.mode) != 0) return FileStatus::failed("set the permissions of", path, errno);
  return {};
}

void applyOwner(int fd, const FileOwner& owner, const std::string& path) {
  if (!actingForAnotherUser()) {
    setOwner(fd, owner, path).raiseIfFailed();
    return;
  }
  // Only what this process has just made (born the real user's, see
  // CreationIdentity.h) is given an owner and mode: the callers hand it
  // nothing else, and anything of a third user's stays as they left it.
  struct stat info;
  if (::fstat(fd, &info) != 0) FileStatus::failed("inspect", path, errno).raise();
  if (info.st_uid != ::geteuid() && info.st_uid != realUser().uid) return;
  setOwner(fd, ownerOnBehalf(owner, nullptr), path).raiseIfFailed();
}

void applyOwner(const std::string& path, const FileOwner& owner) {
  Place place;
  walk(path, "open", place).raiseIfFailed();
  FileDescriptor fd(::openat(place.folder.get(), place.name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
  if (fd.get() < 0) {
    (errno == ELOOP ? FileStatus::linkRefused(path) : FileStatus::failed("open", path, errno)).raise();
  }
  // Only what this process has just made is given away: anything else at
  // that name was put there by someone, and stays theirs.
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) FileStatus::failed("inspect", path, errno).raise();
  if (actingForAnotherUser() && info.st_uid != ::geteuid() && info.st_uid != realUser().uid) {
    FileStatus::rightRefused(path, "give away").raise();
  }
  applyOwner(fd.get(), owner, path);
}

}  // namespace tbk
