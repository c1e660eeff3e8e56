#pragma once

#include <memory>

#include "Tarnbook/TBKNumber.h"
#include "Tarnbook/TBKTag.h"

// A byte, short, int, long, float or double tag. It keeps the type it was
// made or read with, so a file is written back with the same types.
class TBKNumberTag : public TBKTag {
 public:
  // type: one of Byte, Short, Int, Long, Float, Double; anything else raises
  // a TBKException (UsageFailure). The value is narrowed to what the type
  // holds (an int 300 made as a byte stores 44), as a C cast would.
  TBKNumberTag(std::string_view name, TBKTagType type, TBKNumber value);
  TBKNumberTag(const TBKReadKey& key, std::string_view name, TBKTagType type, TBKNumber value)
      : TBKTag(key, name, type), value_(value) {}

  // The forms the screens use (initWithName:byteValue: and its siblings).
  static std::shared_ptr<TBKNumberTag> byteTag(std::string_view name, int8_t value);
  static std::shared_ptr<TBKNumberTag> shortTag(std::string_view name, int16_t value);
  static std::shared_ptr<TBKNumberTag> intTag(std::string_view name, int32_t value);
  static std::shared_ptr<TBKNumberTag> longTag(std::string_view name, int64_t value);
  static std::shared_ptr<TBKNumberTag> floatTag(std::string_view name, float value);
  static std::shared_ptr<TBKNumberTag> doubleTag(std::string_view name, double value);

  const TBKNumber& value() const { return value_; }

 private:
  TBKNumber value_;
};
