#include "FolderCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "CheckedPath.h"
#include "Folders.h"
#include "PathNames.h"
#include "Tarnbook/TBKException.h"
#include "WorldFiles.h"

namespace tbk {

namespace {

void writeAll(int fd, const char* bytes, size_t count, const std::string& path) {
  while (count > 0) {
    ssize_t written = ::write(fd, bytes, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      FileStatus::failed("write", path, errno).raise();
    }
    bytes += written;
    count -= static_cast<size_t>(written);
  }
}

// Copies one file; false when progress asked to stop.
bool copyFile(const std::string& from, const std::string& to, const FileOwner& owner,
              const std::function<bool(uint64_t)>& copied) {
  FileDescriptor in, out;
  openChecked(from, O_RDONLY, 0, in).raiseIfFailed();
  openChecked(to, O_WRONLY | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR, out).raiseIfFailed();
  applyOwner(out.get(), owner, to);
  std::vector<char> buffer(size_t(1) << 20);
  for (;;) {
    ssize_t count = ::read(in.get(), buffer.data(), buffer.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      FileStatus::failed("read", from, errno).raise();
    }
    if (count == 0) break;
    writeAll(out.get(), buffer.data(), static_cast<size_t>(count), to);
    if (!copied(static_cast<uint64_t>(count))) return false;
  }
  if (::fsync(out.get()) != 0) FileStatus::failed("flush", to, errno).raise();
  if (::close(out.release()) != 0) FileStatus::failed("close", to, errno).raise();
  return true;
}

}  // namespace

bool copyFolder(const std::string& from, const std::string& to, const FileOwner& owner, const std::string& worldName,
                const TBKProgress& progress) {
  std::vector<WorldFile> entries = listWorldFiles(from, worldName, "copied");
  uint64_t total = 0, done = 0;
  for (const auto& entry : entries) total += entry.size;
  auto copied = [&](uint64_t bytes) {
    done += bytes;
    return !progress || progress(total ? double(done) / double(total) : 1.0);
  };
  if (!makeFolder(to, owner)) FileStatus::failed("create the folder", to, EEXIST).raise();
  std::vector<std::string> folders{to};
  for (const auto& entry : entries) {
    std::string target = joinPath(to, entry.relative);
    if (entry.folder) {
      if (!makeFolder(target, owner)) FileStatus::failed("create the folder", target, EEXIST).raise();
      folders.push_back(target);
    } else if (!copyFile(entry.path, target, owner, copied)) {
      return false;
    }
  }
  if (progress && !progress(1.0)) return false;
  for (const auto& folder : folders) syncFolder(folder);
  return true;
}

}  // namespace tbk
