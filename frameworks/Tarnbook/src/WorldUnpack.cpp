#include "WorldUnpack.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <set>

#include "ArchivePlan.h"
#include "CheckedPath.h"
#include "Folders.h"
#include "FreshWorldName.h"
#include "OwnerPolicy.h"
#include "PathNames.h"
#include "StagingFolder.h"
#include "Tarnbook/TBKException.h"
#include "ZipReader.h"

namespace tbk {

namespace {

// level.dat's name until everything else is in: a folder without it is no
// world to the game or to Gorvane.
constexpr const char* heldBackLevel = "level.dat.incomplete";

void writeAll(int fd, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      FileStatus::failed("write", path, errno).raise();
    }
    bytes.remove_prefix(static_cast<size_t>(count));
  }
}

// Unpacks the planned entries into staging; false when stopped.
bool unpackInto(const std::string& staging, ZipReader& zip, const std::vector<PlannedEntry>& plan,
                const FileOwner& owner, const TBKProgress& progress) {
  uint64_t total = 0, done = 0;
  for (const auto& entry : plan) total += entry.folder ? 0 : zip.entries()[entry.index].size;
  std::set<std::string> folders{staging};
  auto keepGoing = [&](uint64_t bytes) {
    done += bytes;
    return !progress || progress(total ? double(done) / double(total) : 1.0);
  };
  for (const auto& entry : plan) {
    std::string path = joinPath(staging, entry.path == "level.dat" ? heldBackLevel : entry.path);
    if (entry.folder) {
      makeFolders(path, owner);
      folders.insert(path);
      continue;
    }
    std::string parent = parentFolder(path);
    makeFolders(parent, owner);
    folders.insert(parent);
    FileDescriptor out;
    openChecked(path, O_WRONLY | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR, out).raiseIfFailed();
    applyOwner(out.get(), owner, path);
    if (!zip.inflate(
            entry.index, [&](std::string_view bytes) { writeAll(out.get(), bytes, path); }, keepGoing)) {
      return false;
    }
    if (::fsync(out.get()) != 0) FileStatus::failed("flush", path, errno).raise();
    if (::close(out.release()) != 0) FileStatus::failed("close", path, errno).raise();
  }
  if (progress && !progress(1.0)) return false;
  for (const auto& folder : folders) syncFolder(folder);
  return true;
}

}  // namespace

std::optional<std::string> unpackWorld(const std::string& archive, const std::string& worldsFolder,
                                       const TBKProgress& progress) {
  FileDescriptor fd;
  openChecked(archive, O_RDONLY, 0, fd).raiseIfFailed();
  ZipReader zip(fd.get(), archive);
  std::vector<PlannedEntry> plan = planUnpacking(zip.entries(), archive);

  std::string staging = freshStagingFolder(worldsFolder, "import");
  FileOwner owner = ownerForFile(staging, worldsFolder);
  if (!makeFolder(staging, owner)) FileStatus::failed("create the folder", staging, EEXIST).raise();
  try {
    if (!unpackInto(staging, zip, plan, owner, progress)) {
      removeTree(staging);
      return std::nullopt;
    }
    renameChecked(joinPath(staging, heldBackLevel), joinPath(staging, "level.dat"), false).raiseIfFailed();
    syncFolder(staging);
    for (int attempt = 0;; ++attempt) {
      std::string name = freshWorldFolderName();
      FileStatus renamed = renameChecked(staging, joinPath(worldsFolder, name), false);
      if (renamed.ok()) {
        syncFolder(worldsFolder);
        return name;
      }
      if ((renamed.error() != EEXIST && renamed.error() != ENOTEMPTY) || attempt == 16) renamed.raise();
    }
  } catch (...) {
    try {
      removeTree(staging);
    } catch (const TBKException&) {
      // Hidden, and cleared by the next import.
    }
    throw;
  }
}

}  // namespace tbk
