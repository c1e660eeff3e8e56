#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

// The game's byte order, written once for everything Tarnbook reads and
// writes: NBT, level.dat's header, the kernel's access lists. Header-only
// because the NBT reader's hot loop needs these inlined to a load.
//
// T is an arithmetic type; floating-point values travel as their IEEE bits.
// Callers check the bounds: every pointer given must have sizeof(T) (times
// count) bytes behind it.
namespace tbk {

static_assert(std::endian::native == std::endian::little || std::endian::native == std::endian::big);

template <typename T>
T swapToLittleEndian(T value) {
  if constexpr (std::endian::native == std::endian::big && sizeof(T) > 1) {
    char* bytes = reinterpret_cast<char*>(&value);
    for (size_t i = 0; i < sizeof(T) / 2; ++i) std::swap(bytes[i], bytes[sizeof(T) - 1 - i]);
  }
  return value;
}

template <typename T>
T readLittleEndian(const void* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof value);
  return swapToLittleEndian(value);
}

template <typename T>
void appendLittleEndian(std::string& out, T value) {
  value = swapToLittleEndian(value);
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// count values from bytes into values; one copy on a little-endian machine.
template <typename T>
void readLittleEndian(const void* bytes, T* values, size_t count) {
  if (count == 0) return;
  if constexpr (std::endian::native == std::endian::little || sizeof(T) == 1) {
    std::memcpy(values, bytes, count * sizeof(T));
  } else {
    const char* next = static_cast<const char*>(bytes);
    for (size_t i = 0; i < count; ++i, next += sizeof(T)) values[i] = readLittleEndian<T>(next);
  }
}

template <typename T>
void appendLittleEndian(std::string& out, const T* values, size_t count) {
  if (count == 0) return;
  if constexpr (std::endian::native == std::endian::little || sizeof(T) == 1) {
    out.append(reinterpret_cast<const char*>(values), count * sizeof(T));
  } else {
    for (size_t i = 0; i < count; ++i) appendLittleEndian(out, values[i]);
  }
}

}  // namespace tbk
