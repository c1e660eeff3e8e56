#include "FreshWorldName.h"

#include <sys/random.h>

#include <cstdint>
#include <random>

namespace tbk {

std::string freshWorldFolderName() {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  uint8_t bytes[9];
  if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
    std::random_device device;
    for (auto& byte : bytes) byte = static_cast<uint8_t>(device());
  }
  std::string name;
  for (size_t i = 0; i < sizeof bytes; i += 3) {
    uint32_t group = uint32_t(bytes[i]) << 16 | uint32_t(bytes[i + 1]) << 8 | bytes[i + 2];
    for (int shift = 18; shift >= 0; shift -= 6) name += alphabet[(group >> shift) & 63];
  }
  return name;
}

}  // namespace tbk
