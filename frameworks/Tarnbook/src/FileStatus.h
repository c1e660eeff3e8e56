#pragma once

#include <string>
#include <utility>

namespace tbk {

// How a file operation ended: no error, or the errno it failed with and a
// sentence the user can act on. The file helpers report every failure as
// this value; those the rest of Tarnbook calls raise it as TBKException
// (FileFailure) with that sentence as the reason.
class FileStatus {
 public:
  FileStatus() = default;

  // "Could not <action> <path>: <the system's words for error>."
  static FileStatus failed(const std::string& action, const std::string& path, int error);
  // A refusal of the checks made while acting for another user.
  static FileStatus refused(int error, std::string reason);
  // ELOOP: path is a symbolic link, which is not followed.
  static FileStatus linkRefused(const std::string& path);
  // EACCES: the real user may not do `right` ("read", "write", ...) to path.
  static FileStatus rightRefused(const std::string& path, const std::string& right);

  bool ok() const { return error_ == 0; }
  int error() const { return error_; }
  const std::string& reason() const { return reason_; }

  // Raises TBKException (FileFailure) with the reason; ok() must be false.
  [[noreturn]] void raise() const;
  void raiseIfFailed() const {
    if (!ok()) raise();
  }

 private:
  FileStatus(int error, std::string reason) : error_(error), reason_(std::move(reason)) {}

  int error_ = 0;
  std::string reason_;
};

}  // namespace tbk
