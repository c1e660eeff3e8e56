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

TBKNumber TBKNumber::integer(int64_t value) {
    TBKNumber number;
    number._integer = value;
    return number;
}

TBKNumber TBKNumber::floating(float value) {
    TBKNumber number;
    number._kind = Kind::Float;
    number._float = value;
    return number;
}

TBKNumber TBKNumber::doublePrecision(double value) {
    TBKNumber number;
    number._kind = Kind::Double;
    number._double = value;
    return number;
}

bool TBKNumber::boolValue() const {
    switch (_kind) {
    case Kind::Integer: return _integer != 0;
    case Kind::Float: return _float != 0.0f;
    case Kind::Double: return _double != 0.0;
    }
    return false;
}

int64_t TBKNumber::longLongValue() const {
    switch (_kind) {
    case Kind::Integer: return _integer;
    case Kind::Float: return clampedInteger(_float);
    case Kind::Double: return clampedInteger(_double);
    }
    return 0;
}

float TBKNumber::floatValue() const {
    switch (_kind) {
    case Kind::Integer: return static_cast<float>(_integer);
    case Kind::Float: return _float;
    case Kind::Double: return static_cast<float>(_double);
    }
    return 0;
}

double TBKNumber::doubleValue() const {
    switch (_kind) {
    case Kind::Integer: return static_cast<double>(_integer);
    case Kind::Float: return _float;
    case Kind::Double: return _double;
    }
    return 0;
}

bool TBKNumber::operator==(const TBKNumber& other) const {
    if (_kind != other._kind) return false;
    switch (_kind) {
    case Kind::Integer: return _integer == other._integer;
    case Kind::Float: return std::memcmp(&_float, &other._float, sizeof _float) == 0;
    case Kind::Double: return std::memcmp(&_double, &other._double, sizeof _double) == 0;
    }
    return false;
}
