#include "Tarnbook/TBKChunkKey.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>

#include "LittleEndian.h"

namespace {

bool isChunkTag(uint8_t byte) {
  return (byte >= 0x2b && byte <= 0x36) || (byte >= 0x38 && byte <= 0x3b) || (byte >= 0x3d && byte <= 0x41) ||
         byte == 0x76;
}

}  // namespace

std::optional<TBKChunkKey> TBKChunkKey::parse(std::string_view key) {
  size_t size = key.size();
  if (size != 9 && size != 10 && size != 13 && size != 14) return std::nullopt;
  TBKChunkKey parsed;
  parsed.x = tbk::readLittleEndian<int32_t>(key.data());
  parsed.z = tbk::readLittleEndian<int32_t>(key.data() + 4);
  size_t at = 8;
  if (size >= 13) {
    int32_t dimension = tbk::readLittleEndian<int32_t>(key.data() + 8);
    // The Overworld's records never carry its number.
    if (dimension != 1 && dimension != 2) return std::nullopt;
    parsed.dimension = static_cast<Dimension>(dimension);
    at = 12;
  }
  uint8_t tag = static_cast<uint8_t>(key[at]);
  if (!isChunkTag(tag)) return std::nullopt;
  parsed.tag = static_cast<Tag>(tag);
  bool indexed = size == at + 2;
  if (indexed != (parsed.tag == Tag::SubChunk)) return std::nullopt;
  if (indexed) parsed.subChunk = static_cast<int8_t>(key[at + 1]);
  return parsed;
}

std::string TBKChunkKey::bytes() const {
  std::string key;
  key.reserve(14);
  tbk::appendLittleEndian(key, x);
  tbk::appendLittleEndian(key, z);
  if (dimension != Dimension::Overworld) tbk::appendLittleEndian(key, static_cast<int32_t>(dimension));
  key += static_cast<char>(tag);
  if (tag == Tag::SubChunk) key += static_cast<char>(subChunk);
  return key;
}

const char* TBKChunkKey::dimensionName(Dimension dimension) {
  switch (dimension) {
    case Dimension::Nether:
      return "Nether";
    case Dimension::End:
      return "End";
    case Dimension::Overworld:
      break;
  }
  return "Overworld";
}

std::optional<TBKChunkKey::Dimension> TBKChunkKey::dimensionNamed(std::string_view name) {
  for (Dimension dimension : {Dimension::Overworld, Dimension::Nether, Dimension::End}) {
    std::string_view known = dimensionName(dimension);
    if (name.size() == known.size() && std::equal(name.begin(), name.end(), known.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        })) {
      return dimension;
    }
  }
  return std::nullopt;
}

int32_t TBKChunkKey::chunkOf(double coordinate) {
  // A position read from a hostile record may be anything; a chunk past
  // the int32 range (or NaN) would be undefined to convert.
  double chunk = std::floor(coordinate / 16.0);
  if (!(chunk >= double(INT32_MIN))) return INT32_MIN;
  if (chunk > double(INT32_MAX)) return INT32_MAX;
  return static_cast<int32_t>(chunk);
}
