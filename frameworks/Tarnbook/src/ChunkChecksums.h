#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The checksums record (tag 0x3b) that worlds saved before the Caves and
// Cliffs update keep beside a chunk's other records: a 32-bit little-endian
// count, then per listed record its tag byte, its sub-chunk index (0 for a
// record without one) and the xxHash64 (seed 0) of its value, 64-bit
// little-endian. The game checks them when it loads the chunk, so a record
// written without its checksum following would be taken for damage.
namespace tbk {

struct ChecksumEntry {
  uint8_t tag = 0;
  uint8_t subChunk = 0;
  uint64_t hash = 0;

  bool operator==(const ChecksumEntry&) const = default;
};

// Raises TBKException (Format) when the bytes are not whole entries of the
// count they give.
std::vector<ChecksumEntry> parseChecksums(std::string_view bytes);
std::string serialiseChecksums(const std::vector<ChecksumEntry>& entries);
uint64_t recordHash(std::string_view value);

// The checksums record with the entry of the record (tag, subChunk) changed
// from the hash of `before` (the record as stored) to that of `after`, every
// other byte kept. Raises TBKException (Format) with a reason when the record
// is damaged, lists no such record, or its entry is not the hash of
// `before`: the world's checksums are then not reckoned as Gorvane reckons
// them (or the chunk is damaged), and the write they belong to must not
// happen rather than leave a checksum the game would take for damage.
std::string checksumsWith(std::string_view checksums, uint8_t tag, uint8_t subChunk, std::string_view before,
                          std::string_view after);

}  // namespace tbk
