#pragma once

#include <optional>
#include <string>

// Text comparison and search as the phone's Foundation offers them, on UTF-8.
namespace ui {

// Orders two texts as the user's locale orders words, ignoring case:
// negative, zero or positive. Under the plain "C" locale, which has no rules
// for words, the root collation is used, so "apple" still comes before
// "Banana".
int localizedCaseInsensitiveCompare(const std::string& a, const std::string& b);

// A stretch of a UTF-8 text, in bytes.
struct TextRange {
  size_t location = 0;
  size_t length = 0;
  bool operator==(const TextRange&) const = default;
};

// The first place where `search` occurs in `text`, ignoring case; none when
// it does not occur or `search` is empty.
std::optional<TextRange> rangeOfStringCaseInsensitive(const std::string& text, const std::string& search);

}  // namespace ui
