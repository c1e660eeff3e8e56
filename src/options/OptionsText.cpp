#include "options/OptionsText.h"

namespace {

// Some editors start a UTF-8 file with one; it is kept, and the first line
// begins after it.
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// A value's place in the file's text, in bytes.
struct ValueRange {
  size_t start;
  size_t length;
};

// Where the value of key lies in text. The key counts only where it begins
// a line and is followed by the separator: a user name that happens to spell
// another key is never taken for it. The value runs to the line feed, or to
// the end of a text without a final one.
std::optional<ValueRange> findValue(std::string_view text, std::string_view key) {
  if (key.empty() || key.find_first_of(":\n") != std::string_view::npos) return std::nullopt;
  size_t lineStart = text.starts_with(byteOrderMark) ? byteOrderMark.size() : 0;
  while (lineStart < text.size()) {
    size_t separator = lineStart + key.size();
    if (separator < text.size() && text[separator] == ':' && text.compare(lineStart, key.size(), key) == 0) {
      size_t start = separator + 1;
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      return ValueRange{start, end - start};
    }
    size_t lineFeed = text.find('\n', lineStart);
    if (lineFeed == std::string_view::npos) break;
    lineStart = lineFeed + 1;
  }
  return std::nullopt;
}

}  // namespace

bool OptionsText::isUTF8(std::string_view text) {
  size_t i = 0, n = text.size();
  while (i < n) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t length;
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (n - i < length) return false;
    auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < low || second > high) return false;
    for (size_t k = 2; k < length; ++k) {
      auto next = static_cast<unsigned char>(text[i + k]);
      if (next < 0x80 || next > 0xBF) return false;
    }
    i += length;
  }
  return true;
}

std::optional<std::string> OptionsText::valueForKey(std::string_view text, std::string_view key) {
  if (!isUTF8(text)) return std::nullopt;
  auto range = findValue(text, key);
  if (!range) return std::nullopt;
  return std::string(text.substr(range->start, range->length));
}

std::optional<std::string> OptionsText::replacingValue(std::string_view text, std::string_view key,
                                                       std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos || !isUTF8(value) || !isUTF8(text)) return std::nullopt;
  auto range = findValue(text, key);
  if (!range) return std::nullopt;
  std::string changed(text);
  changed.replace(range->start, range->length, value);
  return changed;
}
