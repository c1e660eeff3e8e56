#include "records/WholeNumber.h"

#include <algorithm>
#include <cctype>

int64_t WholeNumberFromText(std::string_view text, int64_t lowest, int64_t highest) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Gathered below zero, where the 64-bit range reaches one further; once
  // at its end the value stays there.
  constexpr int64_t floor = std::numeric_limits<int64_t>::min();
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    int digit = text[i] - '0';
    value = value < (floor + digit) / 10 ? floor : value * 10 - digit;
  }
  if (!negative) value = value == floor ? std::numeric_limits<int64_t>::max() : -value;
  return std::clamp(value, lowest, highest);
}
