#pragma once

#include <vector>

#include "Tarnbook/TBKTag.h"

// An array of 64-bit integers, kept as read so it is written back unchanged.
class TBKLongArrayTag : public TBKTag {
 public:
  TBKLongArrayTag(std::string name, std::vector<int64_t> value)
      : TBKTag(std::move(name), TBKTagType::LongArray), value_(std::move(value)) {}

  const std::vector<int64_t>& value() const { return value_; }

 private:
  std::vector<int64_t> value_;
};
