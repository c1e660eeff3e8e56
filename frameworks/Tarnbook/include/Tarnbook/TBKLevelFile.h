#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Tarnbook/TBKCompoundTag.h"

// The bytes of level.dat: an 8-byte header (storage version, then the payload
// length, both little-endian 32-bit) and the level's root compound as
// little-endian NBT. Every storage version from 2 up is accepted and written
// back as it was.
class TBKLevelFile {
 public:
  static constexpr int32_t oldestStorageVersion = 2;

  TBKLevelFile(int32_t storageVersion, std::shared_ptr<TBKCompoundTag> root);

  // Raises TBKException (FormatFailure) for a short header, a version below
  // 2, a payload length that disagrees with the bytes that follow, or
  // damaged NBT.
  static TBKLevelFile parse(std::string_view bytes);
  std::string serialise() const;

  int32_t storageVersion() const { return storageVersion_; }
  const std::shared_ptr<TBKCompoundTag>& root() const { return root_; }

 private:
  int32_t storageVersion_;
  std::shared_ptr<TBKCompoundTag> root_;
};
