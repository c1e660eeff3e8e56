#pragma once

#include <exception>
#include <string>

namespace ui {

// Anything the log's %@ can print.
class Describable {
 public:
  virtual ~Describable() = default;
  virtual std::string description() const = 0;
};

// The platform's exception: a name (its kind) and a reason a user can read.
// Its description is the reason.
class Exception : public std::exception, public Describable {
 public:
  Exception(std::string name, std::string reason);
  const std::string& name() const { return name_; }
  const std::string& reason() const { return reason_; }
  std::string description() const override { return reason_; }
  const char* what() const noexcept override { return reason_.c_str(); }

 private:
  std::string name_;
  std::string reason_;
};

[[noreturn]] void raise(const std::string& name, const std::string& reason);

// Converts whatever was thrown into the platform's exception: ui::Exception as
// is, a std::exception by its what(), anything else as an unknown exception.
Exception exceptionFrom(std::exception_ptr error);

using UncaughtExceptionHandler = void (*)(const Exception&);

// The handler receives, once, any exception that escapes an event, a closure or
// the main loop; afterwards the process aborts (SIGABRT).
void setUncaughtExceptionHandler(UncaughtExceptionHandler handler);
UncaughtExceptionHandler uncaughtExceptionHandler();

// Reports `error` to the handler (once per process) and aborts.
[[noreturn]] void terminateWithUncaughtException(std::exception_ptr error);

}  // namespace ui
