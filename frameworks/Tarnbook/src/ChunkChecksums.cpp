#include "ChunkChecksums.h"

#include <xxhash.h>

#include "LittleEndian.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

constexpr size_t entrySize = 1 + 1 + 8;

}  // namespace

std::vector<ChecksumEntry> parseChecksums(std::string_view bytes) {
  if (bytes.size() < 4) {
    throw TBKException(TBKException::Kind::Format,
                       "its checksums record is " + std::to_string(bytes.size()) + " bytes, too short for its count");
  }
  uint32_t count = readLittleEndian<uint32_t>(bytes.data());
  if ((bytes.size() - 4) % entrySize != 0 || (bytes.size() - 4) / entrySize != count) {
    throw TBKException(TBKException::Kind::Format, "its checksums record counts " + std::to_string(count) +
                                                       " entries in " + std::to_string(bytes.size()) + " bytes");
  }
  std::vector<ChecksumEntry> entries;
  entries.reserve(count);
  for (size_t at = 4; at < bytes.size(); at += entrySize) {
    entries.push_back({static_cast<uint8_t>(bytes[at]), static_cast<uint8_t>(bytes[at + 1]),
                       readLittleEndian<uint64_t>(bytes.data() + at + 2)});
  }
  return entries;
}

std::string serialiseChecksums(const std::vector<ChecksumEntry>& entries) {
  std::string bytes;
  bytes.reserve(4 + entries.size() * entrySize);
  appendLittleEndian(bytes, static_cast<uint32_t>(entries.size()));
  for (const auto& entry : entries) {
    bytes += static_cast<char>(entry.tag);
    bytes += static_cast<char>(entry.subChunk);
    appendLittleEndian(bytes, entry.hash);
  }
  return bytes;
}

uint64_t recordHash(std::string_view value) { return XXH64(value.data(), value.size(), 0); }

std::string checksumsWith(std::string_view checksums, uint8_t tag, uint8_t subChunk, std::string_view before,
                          std::string_view after) {
  std::vector<ChecksumEntry> entries = parseChecksums(checksums);
  for (auto& entry : entries) {
    if (entry.tag != tag || entry.subChunk != subChunk) continue;
    if (entry.hash != recordHash(before)) {
      throw TBKException(TBKException::Kind::Format,
                         "its checksums record does not hold the checksum of the record as stored, so Gorvane "
                         "cannot keep it right");
    }
    entry.hash = recordHash(after);
    return serialiseChecksums(entries);
  }
  throw TBKException(TBKException::Kind::Format,
                     "its checksums record has no checksum for the record written, which the game would then "
                     "take for damage");
}

}  // namespace tbk
