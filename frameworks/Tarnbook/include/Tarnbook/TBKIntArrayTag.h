#pragma once

#include <vector>

#include "Tarnbook/TBKTag.h"

// An array of 32-bit integers, kept as read so it is written back unchanged.
class TBKIntArrayTag : public TBKTag {
 public:
  TBKIntArrayTag(std::string name, std::vector<int32_t> value)
      : TBKTag(std::move(name), TBKTagType::IntArray), value_(std::move(value)) {}

  const std::vector<int32_t>& value() const { return value_; }

 private:
  std::vector<int32_t> value_;
};
