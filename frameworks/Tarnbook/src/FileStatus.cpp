#include "FileStatus.h"

#include <cstring>

#include "RealUser.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

FileStatus FileStatus::failed(const std::string& action, const std::string& path, int error) {
  return FileStatus(error, "Could not " + action + " " + path + ": " + std::strerror(error) + ".");
}

FileStatus FileStatus::refused(int error, std::string reason) { return FileStatus(error, std::move(reason)); }

FileStatus FileStatus::linkRefused(const std::string& path) {
  return refused(ELOOP, path +
                            " is a symbolic link. Gorvane does not follow links inside the game's folders: "
                            "put the file or folder itself there.");
}

FileStatus FileStatus::rightRefused(const std::string& path, const std::string& right) {
  return refused(EACCES, "The user who started Gorvane (uid " + std::to_string(realUser().uid) + ") may not " + right +
                             " " + path + ", so Gorvane does not either.");
}

void FileStatus::raise() const { throw TBKException(TBKException::Kind::File, reason_); }

}  // namespace tbk
