// libFuzzer target for a chunk's block-entities value (NBT roots one after
// another) and its checksums record. An input is a checksums record whose
// length is its first byte, then the value. Beyond not crashing: a value
// that reads is listed root by root, and one root replaced by another keeps
// every other byte and the count of roots; a checksums record that reads is
// written back to the same bytes, and updated for the value it changes only
// that entry's hash.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "BlockEntityValue.h"
#include "ChunkChecksums.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKNBT.h"

namespace {

void checkValue(std::string_view value) {
  std::vector<size_t> ends;
  std::vector<std::shared_ptr<TBKCompoundTag>> roots;
  try {
    roots = TBKNBT::parseRoots(value, &ends);
  } catch (const TBKException&) {
    return;
  }
  if (roots.size() != ends.size() || (!ends.empty() && ends.back() != value.size())) std::abort();
  for (size_t index = 0; index < roots.size() && index < 4; ++index) {
    size_t start = index == 0 ? 0 : ends[index - 1];
    std::string was(value.substr(start, ends[index] - start));
    const auto& other = *roots[(index + 1) % roots.size()];
    std::string changed = tbk::replacedRoot(value, index, other, &was);
    std::string tail(value.substr(ends[index]));
    std::string written = TBKNBT::serialise(other);
    if (changed.compare(0, start, value.substr(0, start)) != 0) std::abort();
    if (changed.size() != start + written.size() + tail.size()) std::abort();
    if (changed.compare(start, written.size(), written) != 0) std::abort();
    if (changed.compare(start + written.size(), tail.size(), tail) != 0) std::abort();
    if (TBKNBT::parseRoots(changed).size() != roots.size()) std::abort();
    // A root that is no longer as read is never overwritten.
    std::string stale = was + "x";
    try {
      tbk::replacedRoot(value, index, other, &stale);
      std::abort();
    } catch (const TBKException&) {}
  }
  try {
    tbk::replacedRoot(value, roots.size(), TBKCompoundTag(""));
    std::abort();
  } catch (const TBKException&) {}
}

void checkChecksums(std::string_view checksums, std::string_view value) {
  std::vector<tbk::ChecksumEntry> entries;
  try {
    entries = tbk::parseChecksums(checksums);
  } catch (const TBKException&) {
    return;
  }
  if (tbk::serialiseChecksums(entries) != checksums) std::abort();
  for (uint8_t tag : {uint8_t(0x31), uint8_t(0x2f)}) {
    size_t first = entries.size();
    for (size_t i = 0; i < entries.size() && first == entries.size(); ++i) {
      if (entries[i].tag == tag && entries[i].subChunk == 0) first = i;
    }
    // As the game would have kept them for `value`, then changed for one
    // more byte; an entry not of the stored value is never changed.
    auto primed = entries;
    if (first != entries.size()) primed[first].hash = tbk::recordHash(value);
    std::string changed = std::string(value) + "x", updated;
    if (first != entries.size() && entries[first].hash != tbk::recordHash(value)) {
      bool refused = false;
      try {
        tbk::checksumsWith(checksums, tag, 0, value, changed);
      } catch (const TBKException&) {
        refused = true;
      }
      if (!refused) std::abort();
    }
    try {
      updated = tbk::checksumsWith(tbk::serialiseChecksums(primed), tag, 0, value, changed);
    } catch (const TBKException&) {
      if (first != entries.size()) std::abort();
      continue;
    }
    if (first == entries.size()) std::abort();
    auto after = tbk::parseChecksums(updated);
    if (after.size() != entries.size()) std::abort();
    for (size_t i = 0; i < after.size(); ++i) {
      auto expected = primed[i];
      if (i == first) expected.hash = tbk::recordHash(changed);
      if (!(after[i] == expected)) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  size_t length = size > 0 ? std::min<size_t>(data[0], size - 1) : 0;
  std::string_view checksums = bytes.substr(size > 0 ? 1 : 0, length);
  std::string_view value = bytes.substr(size > 0 ? 1 + length : 0);
  checkValue(value);
  checkChecksums(checksums, value);
  return 0;
}
