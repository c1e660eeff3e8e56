#pragma once

#include "Tarnbook/TBKTag.h"

// A text tag. The text is kept as the bytes read (normally UTF-8) and
// written back unchanged; at most 65535 bytes can be written.
class TBKStringTag : public TBKTag {
 public:
  TBKStringTag(std::string_view name, std::string value) : TBKTag(name, TBKTagType::String), value_(std::move(value)) {}

  TBKStringTag(const TBKReadKey& key, std::string_view name, std::string_view value)
      : TBKTag(key, name, TBKTagType::String), value_(value) {}
  const std::string& value() const { return value_; }

 private:
  std::string value_;
};
