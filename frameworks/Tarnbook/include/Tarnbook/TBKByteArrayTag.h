#pragma once

#include <vector>

#include "Tarnbook/TBKTag.h"

// An array of bytes, kept as read so it is written back unchanged.
class TBKByteArrayTag : public TBKTag {
 public:
  TBKByteArrayTag(std::string_view name, std::vector<int8_t> value)
      : TBKTag(name, TBKTagType::ByteArray), value_(std::move(value)) {}
  TBKByteArrayTag(const TBKReadKey& key, std::string_view name, std::vector<int8_t> value)
      : TBKTag(key, name, TBKTagType::ByteArray), value_(std::move(value)) {}

  const std::vector<int8_t>& value() const { return value_; }

 private:
  std::vector<int8_t> value_;
};
