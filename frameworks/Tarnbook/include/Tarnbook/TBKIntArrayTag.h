#pragma once

#include <vector>

#include "Tarnbook/TBKTag.h"

// An array of 32-bit integers, kept as read so it is written back unchanged.
class TBKIntArrayTag : public TBKTag {
 public:
  TBKIntArrayTag(std::string_view name, std::vector<int32_t> value)
      : TBKTag(name, TBKTagType::IntArray), value_(std::move(value)) {}
  TBKIntArrayTag(const TBKReadKey& key, std::string_view name, std::vector<int32_t> value)
      : TBKTag(key, name, TBKTagType::IntArray), value_(std::move(value)) {}

  const std::vector<int32_t>& value() const { return value_; }

 private:
  std::vector<int32_t> value_;
};
