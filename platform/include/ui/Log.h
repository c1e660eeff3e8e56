#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "ui/Exception.h"

namespace ui {

// One argument of log(): the printf conversions take numbers and C strings,
// %@ takes anything Describable.
class LogArgument {
 public:
  LogArgument(int v) : kind_(Signed), signed_(v) {}
  LogArgument(long v) : kind_(Signed), signed_(v) {}
  LogArgument(long long v) : kind_(Signed), signed_(v) {}
  LogArgument(unsigned v) : kind_(Unsigned), unsigned_(v) {}
  LogArgument(unsigned long v) : kind_(Unsigned), unsigned_(v) {}
  LogArgument(unsigned long long v) : kind_(Unsigned), unsigned_(v) {}
  LogArgument(double v) : kind_(Real), real_(v) {}
  LogArgument(const char* v) : kind_(CString), cstring_(v) {}
  LogArgument(const std::string& v) : kind_(CString), cstring_(v.c_str()) {}
  LogArgument(const Describable& v) : kind_(Object), object_(&v) {}

  enum Kind { Signed, Unsigned, Real, CString, Object };
  Kind kind() const { return kind_; }
  long long asSigned() const;
  unsigned long long asUnsigned() const;
  double asReal() const;
  const char* asCString() const { return kind_ == CString ? cstring_ : nullptr; }
  std::string asObjectDescription() const;

 private:
  Kind kind_;
  union {
    long long signed_;
    unsigned long long unsigned_;
    double real_;
    const char* cstring_;
    const Describable* object_;
  };
};

// Formats like printf with %@ for objects; %s of a null pointer prints "(null)".
std::string formatLogMessage(const char* format, std::initializer_list<LogArgument> args);

// Writes "2026-12-06 15:42:54.123 Gorvane[pid:tid] message" to stderr and the
// message to syslog.
void logMessage(const std::string& message);

template <class... Args>
void log(const char* format, const Args&... args) {
  logMessage(formatLogMessage(format, {LogArgument(args)...}));
}

// The start-up check's report; prints
// "Assertion failed: (expr), function f, file file, line n." and aborts.
[[noreturn]] void assertionFailed(const char* expression, const char* function, const char* file, int line);

}  // namespace ui
