#include "ReadLimits.h"

#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

// The limits are whole kilobytes or megabytes.
std::string describeLimit(size_t bytes) {
  if (bytes >= (size_t(1) << 20) && bytes % (size_t(1) << 20) == 0) return std::to_string(bytes >> 20) + " MB";
  if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KB";
  return std::to_string(bytes) + " bytes";
}

}  // namespace

void checkReadLimit(const std::string& what, uint64_t size, size_t maxBytes) {
  if (size <= maxBytes) return;
  throw TBKException(TBKException::Kind::Format, what + " is " + std::to_string(size) + " bytes long, more than the " +
                                                     describeLimit(maxBytes) +
                                                     " the game ever writes there, so Gorvane does not read it");
}

}  // namespace tbk
