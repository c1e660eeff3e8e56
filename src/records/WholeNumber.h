#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

// The whole number a typed or stored text begins with, as C's strtol reads
// it: leading white space skipped, an optional sign, the decimal digits up to
// the first other character (none: 0); a number beyond [lowest, highest]
// becomes the nearer end, however many digits it has.
int64_t WholeNumberFromText(std::string_view text, int64_t lowest, int64_t highest);

// The same, held to the range of `Whole`.
template <class Whole>
Whole WholeNumberFromText(std::string_view text) {
  return Whole(WholeNumberFromText(text, std::numeric_limits<Whole>::min(), std::numeric_limits<Whole>::max()));
}
