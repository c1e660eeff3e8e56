#include "WorldPack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "CheckedPath.h"
#include "Folders.h"
#include "OwnerPolicy.h"
#include "PathNames.h"
#include "RealUser.h"
#include "Tarnbook/TBKException.h"
#include "WorldFiles.h"
#include "WorldHold.h"
#include "ZipWriter.h"

namespace tbk {

namespace {

// The database's tables hold blocks the game has compressed already.
bool isDatabaseTable(const std::string& relative) { return relative.starts_with("db/") && relative.ends_with(".ldb"); }

std::string withNumber(const std::string& fileName, int number) {
  if (number < 2) return fileName;
  size_t dot = fileName.rfind('.');
  if (dot == std::string::npos || dot == 0) dot = fileName.size();
  return fileName.substr(0, dot) + " (" + std::to_string(number) + ")" + fileName.substr(dot);
}

}  // namespace

std::optional<std::string> packWorld(const std::string& worldFolder, const std::string& worldName,
                                     const std::string& folder, const TBKProgress& progress,
                                     const std::string& fileName) {
  WorldHold hold(worldFolder, worldName);
  std::vector<WorldFile> files = listWorldFiles(worldFolder, worldName, "exported");

  std::string temporary = joinPath(folder, "." + fileName + ".gorvane-tmp");
  if (FileStatus removed = removeChecked(temporary, false); !removed.ok() && removed.error() != ENOENT) removed.raise();
  FileDescriptor out;
  openChecked(temporary, O_RDWR | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR, out).raiseIfFailed();
  try {
    // The user's own file, whoever runs this: never root's.
    const RealUser& user = realUser();
    applyOwner(out.get(), FileOwner{user.uid, user.gid, S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH}, temporary);
    ZipWriter zip(out.get(), joinPath(folder, fileName));
    for (const auto& file : files) {
      if (file.folder) {
        zip.addFolder(file.relative + "/");
      } else {
        zip.addFile(file.relative, file.path, file.size, file.modified, isDatabaseTable(file.relative));
      }
    }
    if (!zip.finish(progress ? progress : [](double) { return true; })) {
      removeChecked(temporary, false);
      return std::nullopt;
    }
    if (::fsync(out.get()) != 0) FileStatus::failed("flush", temporary, errno).raise();
    for (int number = 1;; ++number) {
      std::string target = joinPath(folder, withNumber(fileName, number));
      FileStatus renamed = renameChecked(temporary, target, false);
      if (renamed.ok()) {
        syncFolder(folder);
        return target;
      }
      if (renamed.error() != EEXIST || number == 1000) renamed.raise();
    }
  } catch (...) {
    removeChecked(temporary, false);
    throw;
  }
}

}  // namespace tbk
