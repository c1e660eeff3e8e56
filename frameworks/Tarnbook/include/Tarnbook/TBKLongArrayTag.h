#pragma once

#include <vector>

#include "Tarnbook/TBKTag.h"

// An array of 64-bit integers, kept as read so it is written back unchanged.
class TBKLongArrayTag : public TBKTag {
 public:
  TBKLongArrayTag(std::string_view name, std::vector<int64_t> value)
      : TBKTag(name, TBKTagType::LongArray), value_(std::move(value)) {}
  TBKLongArrayTag(const TBKReadKey& key, std::string_view name, std::vector<int64_t> value)
      : TBKTag(key, name, TBKTagType::LongArray), value_(std::move(value)) {}

  const std::vector<int64_t>& value() const { return value_; }

 private:
  std::vector<int64_t> value_;
};
