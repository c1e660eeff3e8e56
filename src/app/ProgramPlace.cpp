#include "app/ProgramPlace.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool onlyRootMayChange(uid_t owner, mode_t mode, bool isFolder) {
  if (owner != 0) return false;
  if ((mode & (S_IWGRP | S_IWOTH)) == 0) return true;
  return isFolder && (mode & S_ISVTX);
}

}  // namespace

std::string programPlaceProblem() {
  // The running file itself, whatever name it was started by.
  int self = ::open("/proc/self/exe", O_PATH | O_CLOEXEC);
  struct stat info;
  bool ownFileIsRoots = self >= 0 && ::fstat(self, &info) == 0 && onlyRootMayChange(info.st_uid, info.st_mode, false);
  if (self >= 0) ::close(self);
  char path[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "the program cannot find its own file";
  std::string program(path, size_t(length));
  if (!ownFileIsRoots) return program + " may be changed by users other than root";
  std::string folder = program;
  while (folder != "/") {
    size_t slash = folder.rfind('/');
    folder = slash == 0 || slash == std::string::npos ? "/" : folder.substr(0, slash);
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        !onlyRootMayChange(info.st_uid, info.st_mode, true)) {
      return folder + ", a folder above " + program + ", may be changed by users other than root";
    }
  }
  return "";
}
