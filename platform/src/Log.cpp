#include "ui/Log.h"

#include <sys/syscall.h>
#include <sys/time.h>
#include <syslog.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace ui {

long long LogArgument::asSigned() const {
  switch (kind_) {
    case Signed:
      return signed_;
    case Unsigned:
      return static_cast<long long>(unsigned_);
    case Real:
      return static_cast<long long>(real_);
    default:
      return 0;
  }
}

unsigned long long LogArgument::asUnsigned() const {
  switch (kind_) {
    case Signed:
      return static_cast<unsigned long long>(signed_);
    case Unsigned:
      return unsigned_;
    case Real:
      return static_cast<unsigned long long>(real_);
    default:
      return 0;
  }
}

double LogArgument::asReal() const {
  switch (kind_) {
    case Signed:
      return double(signed_);
    case Unsigned:
      return double(unsigned_);
    case Real:
      return real_;
    default:
      return 0;
  }
}

std::string LogArgument::asObjectDescription() const {
  switch (kind_) {
    case Object:
      return object_ ? object_->description() : "(null)";
    case CString:
      return cstring_ ? cstring_ : "(null)";
    case Signed:
      return std::to_string(signed_);
    case Unsigned:
      return std::to_string(unsigned_);
    case Real:
      return std::to_string(real_);
  }
  return "(null)";
}

std::string formatLogMessage(const char* format, std::initializer_list<LogArgument> args) {
  std::string out;
  auto arg = args.begin();
  auto next = [&]() -> const LogArgument* { return arg == args.end() ? nullptr : &*arg++; };
  for (const char* p = format; *p; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    // Collect one conversion: flags, width, precision, length, then the letter.
    std::string directive = "%";
    ++p;
    while (*p && std::string_view("-+ #0123456789.").find(*p) != std::string_view::npos) directive += *p++;
    std::string length;
    while (*p && std::string_view("hlqLzjt").find(*p) != std::string_view::npos) length += *p++;
    if (!*p) break;
    char conv = *p;
    char buffer[512];
    const LogArgument* a = nullptr;
    switch (conv) {
      case '%':
        out += '%';
        break;
      case '@':
        a = next();
        out += a ? a->asObjectDescription() : "(null)";
        break;
      case 's': {
        a = next();
        const char* s = a ? a->asCString() : nullptr;
        std::snprintf(buffer, sizeof buffer, (directive + "s").c_str(), s ? s : "(null)");
        // Long strings are not cut: only padding uses the formatted form.
        out += (s && std::string(s).size() >= sizeof buffer - 1) ? std::string(s) : std::string(buffer);
        break;
      }
      case 'd':
      case 'i':
      case 'c':
        a = next();
        std::snprintf(buffer, sizeof buffer, (directive + "ll" + conv).c_str(), a ? a->asSigned() : 0LL);
        out += buffer;
        break;
      case 'u':
      case 'x':
      case 'X':
      case 'o':
        a = next();
        std::snprintf(buffer, sizeof buffer, (directive + "ll" + conv).c_str(), a ? a->asUnsigned() : 0ULL);
        out += buffer;
        break;
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G':
        a = next();
        std::snprintf(buffer, sizeof buffer, (directive + conv).c_str(), a ? a->asReal() : 0.0);
        out += buffer;
        break;
      case 'p':
        a = next();
        std::snprintf(buffer, sizeof buffer, "0x%llx", a ? a->asUnsigned() : 0ULL);
        out += buffer;
        break;
      default:
        out += directive + length + conv;
    }
  }
  return out;
}

void logMessage(const std::string& message) {
  timeval now;
  gettimeofday(&now, nullptr);
  tm local;
  localtime_r(&now.tv_sec, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  std::fprintf(stderr, "%s.%03ld Gorvane[%d:%ld] %s\n", stamp, long(now.tv_usec / 1000), int(getpid()),
               long(syscall(SYS_gettid)), message.c_str());
  std::fflush(stderr);
  static bool opened = false;
  if (!opened) {
    openlog("Gorvane", LOG_PID, LOG_USER);
    opened = true;
  }
  syslog(LOG_NOTICE, "%s", message.c_str());
}

void assertionFailed(const char* expression, const char* function, const char* file, int line) {
  std::fprintf(stderr, "Assertion failed: (%s), function %s, file %s, line %d.\n", expression, function, file, line);
  std::fflush(stderr);
  syslog(LOG_ERR, "Assertion failed: (%s), function %s, file %s, line %d.", expression, function, file, line);
  std::abort();
}

}  // namespace ui
