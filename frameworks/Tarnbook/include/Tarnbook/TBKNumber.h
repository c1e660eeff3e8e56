#pragma once

#include <cstdint>

// The value of a number tag, read the way the game's own code reads it: as
// any width, signed or unsigned, whatever width it was stored with. Integer
// readers keep the low bits (a stored byte -1 reads as 255 unsigned); a
// floating value is first truncated toward zero and clamped to the 64-bit
// range (NaN reads as 0). A default-made number is the integer 0, which is
// also what an absent tag reads as.
class TBKNumber {
 public:
  enum class Kind : uint8_t { Integer, Float, Double };

  TBKNumber() : kind_(Kind::Integer), integer_(0) {}
  // Inline: the reader makes one for every number tag it reads.
  static TBKNumber integer(int64_t value) {
    TBKNumber number;
    number.integer_ = value;
    return number;
  }
  static TBKNumber floating(float value) {
    TBKNumber number;
    number.kind_ = Kind::Float;
    number.float_ = value;
    return number;
  }
  static TBKNumber doublePrecision(double value) {
    TBKNumber number;
    number.kind_ = Kind::Double;
    number.double_ = value;
    return number;
  }

  Kind kind() const { return kind_; }

  bool boolValue() const;
  int8_t charValue() const { return static_cast<int8_t>(longLongValue()); }
  uint8_t unsignedCharValue() const { return static_cast<uint8_t>(longLongValue()); }
  int16_t shortValue() const { return static_cast<int16_t>(longLongValue()); }
  uint16_t unsignedShortValue() const { return static_cast<uint16_t>(longLongValue()); }
  int32_t intValue() const { return static_cast<int32_t>(longLongValue()); }
  uint32_t unsignedIntValue() const { return static_cast<uint32_t>(longLongValue()); }
  int64_t longLongValue() const;
  uint64_t unsignedLongLongValue() const { return static_cast<uint64_t>(longLongValue()); }
  float floatValue() const;
  double doubleValue() const;

  // Equal when kind and stored bits are equal (so NaN payloads compare too).
  bool operator==(const TBKNumber& other) const;

 private:
  Kind kind_;
  // Floats are kept as float so their bits, NaN payloads included, are
  // written back exactly as read.
  union {
    int64_t integer_;
    float float_;
    double double_;
  };
};
