#pragma once

#include <exception>
#include <string>

// The one exception Tarnbook raises. name() says which kind of failure it is
// (see the constants below); reason() is a sentence for the user: which world,
// which file, what is wrong and, where there is one, what to do about it.
class TBKException : public std::exception {
 public:
  static constexpr const char* SetupFailure = "TBKSetupException";    // game folders not found
  static constexpr const char* FormatFailure = "TBKFormatException";  // damaged or unsupported data
  static constexpr const char* FileFailure = "TBKFileException";      // the file system refused
  static constexpr const char* LockFailure = "TBKLockException";      // another editor holds the game
  static constexpr const char* WorldBusy = "TBKWorldBusyException";   // the game holds the world open
  static constexpr const char* UsageFailure = "TBKUsageException";    // a caller broke a precondition

  TBKException(std::string name, std::string reason);

  const std::string& name() const { return name_; }
  const std::string& reason() const { return reason_; }
  const char* what() const noexcept override { return reason_.c_str(); }

 private:
  std::string name_;
  std::string reason_;
};
