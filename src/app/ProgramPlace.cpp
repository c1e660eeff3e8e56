#include "app/ProgramPlace.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A sticky folder others may write does not count as root's: anyone may
// make a hard link of the program in it, and the link is then where the
// program seems to lie.
bool onlyRootMayChange(uid_t owner, mode_t mode) { return owner == 0 && (mode & (S_IWGRP | S_IWOTH)) == 0; }

std::string placeProblem(const std::string& program, bool fileIsRoots) {
  if (!fileIsRoots) return program + " may be changed by users other than root";
  std::string folder = program;
  struct stat info;
  while (folder != "/") {
    size_t slash = folder.rfind('/');
    folder = slash == 0 || slash == std::string::npos ? "/" : folder.substr(0, slash);
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        !onlyRootMayChange(info.st_uid, info.st_mode)) {
      return folder + ", a folder above " + program + ", may be changed by users other than root";
    }
  }
  return "";
}

}  // namespace

std::string programPlaceProblem() {
  // The running file itself, whatever name it was started by.
  int self = ::open("/proc/self/exe", O_PATH | O_CLOEXEC);
  struct stat info;
  bool ownFileIsRoots = self >= 0 && ::fstat(self, &info) == 0 && onlyRootMayChange(info.st_uid, info.st_mode);
  if (self >= 0) ::close(self);
  char path[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "the program cannot find its own file";
  return placeProblem(std::string(path, size_t(length)), ownFileIsRoots);
}
