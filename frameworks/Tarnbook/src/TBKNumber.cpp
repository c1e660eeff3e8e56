#include "Tarnbook/TBKNumber.h"

#include <cmath>
#include <cstring>

namespace {

// Truncates toward zero, clamped to the 64-bit range: a plain cast of an
// out-of-range double is undefined, and the numbers come from files.
int64_t clampedInteger(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9223372036854775807.0) return INT64_MAX;
  if (value <= -9223372036854775808.0) return INT64_MIN;
  return static_cast<int64_t>(value);
}

}  // namespace

bool TBKNumber::boolValue() const {
  switch (kind_) {
    case Kind::Integer:
      return integer_ != 0;
    case Kind::Float:
      return float_ != 0.0f;
    case Kind::Double:
      return double_ != 0.0;
  }
  return false;
}

int64_t TBKNumber::longLongValue() const {
  switch (kind_) {
    case Kind::Integer:
      return integer_;
    case Kind::Float:
      return clampedInteger(float_);
    case Kind::Double:
      return clampedInteger(double_);
  }
  return 0;
}

float TBKNumber::floatValue() const {
  switch (kind_) {
    case Kind::Integer:
      return static_cast<float>(integer_);
    case Kind::Float:
      return float_;
    case Kind::Double:
      return static_cast<float>(double_);
  }
  return 0;
}

double TBKNumber::doubleValue() const {
  switch (kind_) {
    case Kind::Integer:
      return static_cast<double>(integer_);
    case Kind::Float:
      return float_;
    case Kind::Double:
      return double_;
  }
  return 0;
}

bool TBKNumber::operator==(const TBKNumber& other) const {
  if (kind_ != other.kind_) return false;
  switch (kind_) {
    case Kind::Integer:
      return integer_ == other.integer_;
    case Kind::Float:
      return std::memcmp(&float_, &other.float_, sizeof float_) == 0;
    case Kind::Double:
      return std::memcmp(&double_, &other.double_, sizeof double_) == 0;
  }
  return false;
}
