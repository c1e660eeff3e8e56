#pragma once

#include <exception>
#include <string>

// The one exception Tarnbook raises. kind() says which kind of failure it is;
// reason() is a sentence for the user: which world, which file, what is wrong
// and, where there is one, what to do about it.
class TBKException : public std::exception {
 public:
  enum class Kind {
    Setup,      // game folders not found
    Format,     // damaged or unsupported data
    File,       // the file system refused
    Lock,       // another editor holds the game
    WorldBusy,  // the game holds the world open
    Usage,      // a caller broke a precondition
  };

  TBKException(Kind kind, std::string reason);

  Kind kind() const { return kind_; }
  // The kind as logs and crash reports name it: "TBKFormatException", ...
  const char* name() const;
  const std::string& reason() const { return reason_; }
  const char* what() const noexcept override { return reason_.c_str(); }

 private:
  Kind kind_;
  std::string reason_;
};
