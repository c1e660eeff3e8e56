#include "ui/Exception.h"

#include <atomic>
#include <cstdlib>

namespace ui {
namespace {
std::atomic<UncaughtExceptionHandler> handler{nullptr};
std::atomic<bool> reported{false};
}  // namespace

Exception::Exception(std::string name, std::string reason) : name_(std::move(name)), reason_(std::move(reason)) {}

void raise(const std::string& name, const std::string& reason) { throw Exception(name, reason); }

Exception exceptionFrom(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e;
  } catch (const std::exception& e) {
    return Exception("std::exception", e.what());
  } catch (...) {
    return Exception("UnknownException", "An unknown exception was thrown");
  }
}

void setUncaughtExceptionHandler(UncaughtExceptionHandler h) { handler = h; }
UncaughtExceptionHandler uncaughtExceptionHandler() { return handler; }

void terminateWithUncaughtException(std::exception_ptr error) {
  // A handler that throws again, or a second failure while reporting, must
  // not report twice.
  if (!reported.exchange(true)) {
    if (auto h = handler.load()) {
      Exception e = exceptionFrom(error);
      h(e);
    }
  }
  std::abort();
}

}  // namespace ui
