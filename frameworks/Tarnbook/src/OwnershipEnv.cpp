#include "OwnershipEnv.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "CheckedPath.h"
#include "CreationIdentity.h"
#include "Folders.h"
#include "ReadLimits.h"
#include "RealUser.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

leveldb::Status failure(const std::string& name, const FileStatus& status) {
  if (status.error() == ENOENT) return leveldb::Status::NotFound(name, std::strerror(ENOENT));
  return leveldb::Status::IOError(status.reason());
}

leveldb::Status failure(const std::string& action, const std::string& name, int error) {
  return failure(name, FileStatus::failed(action, name, error));
}

template <class Action>
leveldb::Status guarded(const std::string& name, Action action) {
  try {
    return action();
  } catch (const TBKException& error) {
    return leveldb::Status::IOError(name, error.reason());
  }
}

// LevelDB reads CURRENT whole, and the game's names one manifest in a line
// of some twenty bytes: a longer one is damaged, or made to cost memory.
leveldb::Status checkCurrentLength(const std::string& name, int fd) {
  const std::string current = "/CURRENT";
  struct stat info;
  if (name.size() < current.size() || name.compare(name.size() - current.size(), current.size(), current) != 0 ||
      ::fstat(fd, &info) != 0) {
    return leveldb::Status::OK();
  }
  try {
    checkReadLimit(name, static_cast<uint64_t>(info.st_size), readLimit::databaseCurrent);
  } catch (const TBKException& error) {
    return leveldb::Status::Corruption(error.reason());
  }
  return leveldb::Status::OK();
}

class CheckedSequentialFile : public leveldb::SequentialFile {
 public:
  CheckedSequentialFile(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
  ~CheckedSequentialFile() override { ::close(fd_); }

  leveldb::Status Read(size_t n, leveldb::Slice* result, char* scratch) override {
    for (;;) {
      ssize_t count = ::read(fd_, scratch, n);
      if (count >= 0) {
        *result = leveldb::Slice(scratch, static_cast<size_t>(count));
        return leveldb::Status::OK();
      }
      if (errno != EINTR) return failure("read", name_, errno);
    }
  }
  leveldb::Status Skip(uint64_t n) override {
    if (::lseek(fd_, static_cast<off_t>(n), SEEK_CUR) < 0) return failure("skip in", name_, errno);
    return leveldb::Status::OK();
  }

 private:
  int fd_;
  std::string name_;
};

class CheckedRandomAccessFile : public leveldb::RandomAccessFile {
 public:
  CheckedRandomAccessFile(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
  ~CheckedRandomAccessFile() override { ::close(fd_); }

  leveldb::Status Read(uint64_t offset, size_t n, leveldb::Slice* result, char* scratch) const override {
    ssize_t count = ::pread(fd_, scratch, n, static_cast<off_t>(offset));
    *result = leveldb::Slice(scratch, count < 0 ? 0 : static_cast<size_t>(count));
    return count < 0 ? failure("read", name_, errno) : leveldb::Status::OK();
  }

 private:
  int fd_;
  std::string name_;
};

class CheckedWritableFile : public leveldb::WritableFile {
 public:
  CheckedWritableFile(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
  ~CheckedWritableFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  leveldb::Status Append(const leveldb::Slice& data) override {
    const char* next = data.data();
    size_t left = data.size();
    while (left > 0) {
      ssize_t count = ::write(fd_, next, left);
      if (count < 0) {
        if (errno == EINTR) continue;
        return failure("write", name_, errno);
      }
      next += count;
      left -= static_cast<size_t>(count);
    }
    return leveldb::Status::OK();
  }
  leveldb::Status Close() override {
    int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) != 0 ? failure("close", name_, errno) : leveldb::Status::OK();
  }
  leveldb::Status Flush() override { return leveldb::Status::OK(); }
  leveldb::Status Sync() override {
    if (::fsync(fd_) != 0) return failure("flush", name_, errno);
    // A new MANIFEST is only found after a crash if its folder entry
    // reached the disk as well.
    auto slash = name_.find_last_of('/');
    if (name_.compare(slash == std::string::npos ? 0 : slash + 1, 8, "MANIFEST") != 0) {
      return leveldb::Status::OK();
    }
    return guarded(name_, [&] {
      syncFolder(slash == std::string::npos ? "." : name_.substr(0, slash));
      return leveldb::Status::OK();
    });
  }

 private:
  int fd_;
  std::string name_;
};

class CheckedLock : public leveldb::FileLock {
 public:
  explicit CheckedLock(int fd) : fd(fd) {}
  int fd;
};

}  // namespace

OwnershipEnv::OwnershipEnv(leveldb::Env* target, FileOwner owner) : EnvWrapper(target), owner_(owner) {}

leveldb::Status OwnershipEnv::adopt(const std::string& name, leveldb::Status created, bool folder) {
  if (!created.ok()) return created;
  FileOwner owner = folder ? folderOwnerFor(owner_) : owner_;
  return guarded(name, [&] {
    applyOwner(name, owner);
    return created;
  });
}

leveldb::Status OwnershipEnv::NewSequentialFile(const std::string& name, leveldb::SequentialFile** result) {
  *result = nullptr;
  FileDescriptor fd;
  if (FileStatus opened = openChecked(name, O_RDONLY, 0, fd); !opened.ok()) return failure(name, opened);
  if (leveldb::Status tooLong = checkCurrentLength(name, fd.get()); !tooLong.ok()) return tooLong;
  if (!actingForAnotherUser()) {
    fd.reset(-1);
    return target()->NewSequentialFile(name, result);
  }
  *result = new CheckedSequentialFile(fd.release(), name);
  return leveldb::Status::OK();
}

leveldb::Status OwnershipEnv::NewRandomAccessFile(const std::string& name, leveldb::RandomAccessFile** result) {
  if (!actingForAnotherUser()) return target()->NewRandomAccessFile(name, result);
  *result = nullptr;
  FileDescriptor fd;
  if (FileStatus opened = openChecked(name, O_RDONLY, 0, fd); !opened.ok()) return failure(name, opened);
  *result = new CheckedRandomAccessFile(fd.release(), name);
  return leveldb::Status::OK();
}

leveldb::Status OwnershipEnv::newWritable(const std::string& name, int flags, leveldb::WritableFile** result) {
  *result = nullptr;
  FileDescriptor opened;
  bool created = false;
  if (FileStatus status = openChecked(name, flags, 0644, opened, &created); !status.ok()) return failure(name, status);
  int fd = opened.release();
  auto* file = new CheckedWritableFile(fd, name);
  leveldb::Status owned = guarded(name, [&] {
    if (created) applyOwner(fd, owner_, name);
    return leveldb::Status::OK();
  });
  if (!owned.ok()) {
    delete file;
    return owned;
  }
  *result = file;
  return owned;
}

leveldb::Status OwnershipEnv::asOwner(const std::function<leveldb::Status()>& create, bool folder) {
  leveldb::Status status;
  bool switched;
  {
    CreationIdentity identity(folder ? folderOwnerFor(owner_) : owner_);
    switched = identity.switched();
    status = create();
  }
  // The owner may not create there; root, acting for itself, may.
  if (switched && status.IsIOError()) status = create();
  return status;
}

leveldb::Status OwnershipEnv::NewWritableFile(const std::string& name, leveldb::WritableFile** result) {
  if (!actingForAnotherUser()) {
    return adopt(name, asOwner([&] { return target()->NewWritableFile(name, result); }));
  }
  return newWritable(name, O_WRONLY | O_CREAT | O_TRUNC, result);
}

leveldb::Status OwnershipEnv::NewAppendableFile(const std::string& name, leveldb::WritableFile** result) {
  if (!actingForAnotherUser()) {
    return adopt(name, asOwner([&] { return target()->NewAppendableFile(name, result); }));
  }
  return newWritable(name, O_WRONLY | O_CREAT | O_APPEND, result);
}

bool OwnershipEnv::FileExists(const std::string& name) {
  if (!actingForAnotherUser()) return target()->FileExists(name);
  try {
    return ownerOf(name).has_value();
  } catch (const TBKException&) {
    // Something is there that may not be used; opening it says why.
    return true;
  }
}

leveldb::Status OwnershipEnv::GetChildren(const std::string& folder, std::vector<std::string>* result) {
  if (!actingForAnotherUser()) return target()->GetChildren(folder, result);
  result->clear();
  return guarded(folder, [&] {
    auto names = folderEntries(folder);
    if (!names) return leveldb::Status::NotFound(folder, std::strerror(ENOENT));
    *result = std::move(*names);
    return leveldb::Status::OK();
  });
}

leveldb::Status OwnershipEnv::DeleteFile(const std::string& name) {
  if (!actingForAnotherUser()) return target()->DeleteFile(name);
  FileStatus removed = removeChecked(name, false);
  return removed.ok() ? leveldb::Status::OK() : failure(name, removed);
}

leveldb::Status OwnershipEnv::CreateDir(const std::string& name) {
  if (!actingForAnotherUser()) {
    bool existed = isDirectory(name);
    leveldb::Status created = asOwner([&] { return target()->CreateDir(name); }, true);
    if (existed) return created;
    return adopt(name, created, true);
  }
  return guarded(name, [&] {
    return makeFolder(name, owner_) ? leveldb::Status::OK() : failure("create the folder", name, EEXIST);
  });
}

leveldb::Status OwnershipEnv::DeleteDir(const std::string& name) {
  if (!actingForAnotherUser()) return target()->DeleteDir(name);
  FileStatus removed = removeChecked(name, true);
  return removed.ok() ? leveldb::Status::OK() : failure(name, removed);
}

leveldb::Status OwnershipEnv::GetFileSize(const std::string& name, uint64_t* size) {
  if (!actingForAnotherUser()) return target()->GetFileSize(name, size);
  *size = 0;
  FileDescriptor fd;
  if (FileStatus opened = openChecked(name, O_RDONLY, 0, fd); !opened.ok()) return failure(name, opened);
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) return failure("inspect", name, errno);
  *size = static_cast<uint64_t>(info.st_size);
  return leveldb::Status::OK();
}

leveldb::Status OwnershipEnv::RenameFile(const std::string& from, const std::string& to) {
  if (!actingForAnotherUser()) return target()->RenameFile(from, to);
  FileStatus renamed = renameChecked(from, to);
  return renamed.ok() ? leveldb::Status::OK() : failure(from, renamed);
}

leveldb::Status OwnershipEnv::LockFile(const std::string& name, leveldb::FileLock** lock) {
  *lock = nullptr;
  // The owner is set before the lock is taken: closing any descriptor of a
  // file drops this process's fcntl locks on it, and setting it afterwards
  // would open and close the file under the lock.
  FileDescriptor fd;
  bool created = false;
  FileStatus opened;
  bool switched;
  {
    CreationIdentity identity(owner_);
    switched = identity.switched();
    opened = openChecked(name, O_RDWR | O_CREAT | O_NOFOLLOW, 0644, fd, &created);
  }
  if (switched && !actingForAnotherUser() && (opened.error() == EACCES || opened.error() == EPERM)) {
    opened = openChecked(name, O_RDWR | O_CREAT | O_NOFOLLOW, 0644, fd, &created);
  }
  if (!opened.ok()) return failure(name, opened);
  leveldb::Status owned = guarded(name, [&] {
    if (created || !actingForAnotherUser()) applyOwner(fd.get(), owner_, name);
    return leveldb::Status::OK();
  });
  if (!owned.ok() || !actingForAnotherUser()) {
    fd.reset(-1);
    return owned.ok() ? target()->LockFile(name, lock) : owned;
  }
  struct flock whole {};
  whole.l_type = F_WRLCK;
  whole.l_whence = SEEK_SET;
  if (::fcntl(fd.get(), F_SETLK, &whole) != 0) {
    // "lock " starts the reason LevelDB gives for a database in use.
    return leveldb::Status::IOError("lock " + name, std::strerror(errno));
  }
  *lock = new CheckedLock(fd.release());
  return leveldb::Status::OK();
}

leveldb::Status OwnershipEnv::UnlockFile(leveldb::FileLock* lock) {
  auto* own = dynamic_cast<CheckedLock*>(lock);
  if (!own) return target()->UnlockFile(lock);
  struct flock whole {};
  whole.l_type = F_UNLCK;
  whole.l_whence = SEEK_SET;
  int result = ::fcntl(own->fd, F_SETLK, &whole);
  int error = errno;
  ::close(own->fd);
  delete own;
  return result != 0 ? leveldb::Status::IOError("unlock", std::strerror(error)) : leveldb::Status::OK();
}

leveldb::Status OwnershipEnv::NewLogger(const std::string& name, leveldb::Logger** result) {
  // Worlds are opened with a silent logger of Tarnbook's own; a log file
  // is never written on another user's behalf.
  if (actingForAnotherUser()) return leveldb::Status::NotSupported(name, "no log file");
  return adopt(name, target()->NewLogger(name, result));
}

}  // namespace tbk
