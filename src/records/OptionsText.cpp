#include "records/OptionsText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "records/WholeNumber.h"

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

// The settings of a text that is nothing but settings, or why it is not.
struct Settings {
  bool byteOrderMark = false;
  std::vector<std::pair<std::string_view, std::string_view>> lines;  // key, value
  bool finalLineFeed = false;
  std::string refusal;
  size_t size = 0;                          // of the text read
  size_t keyLine = std::string_view::npos;  // the line of the key asked for
};

// Another key set twice is the game's business; the key to be changed set
// twice is not, for the game might read the other line.
Settings readSettings(std::string_view text, std::string_view wanted) {
  Settings settings;
  settings.size = text.size();
  auto refuse = [&](size_t line, const std::string& why) {
    settings.refusal = "line " + std::to_string(line) + " " + why;
    return settings;
  };
  if (!OptionsText::isUTF8(text)) {
    settings.refusal = "it holds bytes that are not UTF-8 text";
    return settings;
  }
  settings.byteOrderMark = text.starts_with(byteOrderMark);
  if (settings.byteOrderMark) text.remove_prefix(byteOrderMark.size());
  settings.finalLineFeed = text.ends_with('\n');
  if (settings.finalLineFeed) text.remove_suffix(1);
  if (text.empty() && !settings.finalLineFeed) return settings;
  size_t number = 0;
  for (size_t start = 0; start <= text.size(); ++number) {
    size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    for (std::string_view marker : {"<<<<<<<", "|||||||", "=======", ">>>>>>>"}) {
      if (line.starts_with(marker)) return refuse(number + 1, "is text left by a merge tool");
    }
    if (line.find('\r') != std::string_view::npos) return refuse(number + 1, "holds a carriage return");
    size_t separator = line.find(':');
    if (separator == std::string_view::npos) return refuse(number + 1, "is not a setting (it has no \":\")");
    if (separator == 0) return refuse(number + 1, "has no key before its \":\"");
    std::string_view key = line.substr(0, separator);
    if (key == wanted) {
      if (settings.keyLine != std::string_view::npos) {
        return refuse(number + 1,
                      "sets " + std::string(key) + " again (line " + std::to_string(settings.keyLine + 1) + " set it)");
      }
      settings.keyLine = number;
    }
    settings.lines.emplace_back(key, line.substr(separator + 1));
  }
  return settings;
}

std::string writeSettings(const Settings& settings) {
  std::string text;
  text.reserve(settings.size);
  if (settings.byteOrderMark) text += byteOrderMark;
  for (size_t i = 0; i < settings.lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += settings.lines[i].first;
    text += ':';
    text += settings.lines[i].second;
  }
  if (settings.finalLineFeed) text += '\n';
  return text;
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

OptionsText::Rewrite OptionsText::replacingValue(std::string_view text, std::string_view key, std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos || !isUTF8(value)) {
    return {std::nullopt, "the value would break the line"};
  }
  if (!isUTF8(text)) return {std::nullopt, "it holds bytes that are not UTF-8 text"};
  auto range = findValue(text, key);
  if (!range) return {std::nullopt, "it no longer holds " + std::string(key)};
  std::string changed(text);
  changed.replace(range->start, range->length, value);
  return {std::move(changed), {}};
}

std::optional<std::string> OptionsText::readableValue(std::string_view text, std::string_view key) {
  auto range = findValue(text, key);
  if (!range) return std::nullopt;
  std::string_view value = text.substr(range->start, range->length);
  if (!isUTF8(value)) return std::nullopt;
  return std::string(value);
}

bool OptionsText::isTodays(std::string_view text) {
  return findValue(text, "game_difficulty_new") || findValue(text, "gfx_viewdistance");
}

OptionsText::Rewrite OptionsText::rewritingValue(std::string_view text, std::string_view key, std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos || !isUTF8(value)) {
    return {std::nullopt, "the value would break the line"};
  }
  Settings settings = readSettings(text, key);
  if (!settings.refusal.empty()) return {std::nullopt, settings.refusal};
  // The settings are written back as they were read; a text that does not
  // come out the same is one this reading does not understand.
  if (writeSettings(settings) != text) return {std::nullopt, "it does not read back as it is"};
  if (settings.keyLine == std::string_view::npos) return {std::nullopt, "it no longer holds " + std::string(key)};
  std::string_view old = settings.lines[settings.keyLine].second;
  std::string changed(text);
  changed.replace(size_t(old.data() - text.data()), old.size(), value);
  return {std::move(changed), {}};
}

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

size_t skipSpace(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  return i;
}

}  // namespace

int OptionsText::integerValue(const std::optional<std::string>& text) {
  return text ? WholeNumberFromText<int32_t>(*text) : 0;
}

float OptionsText::decimalValue(const std::optional<std::string>& text) {
  if (!text) return 0;
  std::string_view rest(*text);
  rest.remove_prefix(skipSpace(rest));
  bool negative = false;
  // from_chars takes a minus sign but not a plus sign.
  if (!rest.empty() && rest.front() == '+') {
    rest.remove_prefix(1);
    if (!rest.empty() && rest.front() == '-') return 0;
  }
  float value = 0;
  auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // Too large or too small for a float: infinity or zero, by the sign of
    // the exponent.
    std::string_view number(rest.data(), size_t(end - rest.data()));
    negative = !number.empty() && number.front() == '-';
    size_t exponent = number.find_first_of("eE");
    bool tiny = exponent != std::string_view::npos && exponent + 1 < number.size() && number[exponent + 1] == '-';
    value = tiny ? 0.0f : std::numeric_limits<float>::infinity();
    return negative ? -value : value;
  }
  return error == std::errc() ? value : 0;
}

std::string OptionsText::positionText(float position) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, double(position), std::chars_format::fixed, 6);
  // Only a number too wide for the buffer fails, and a float never is.
  return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}

std::string OptionsText::decimalText(float value) {
  if (value == 0) return "0";  // and not "-0"
  char buffer[64];
  // Fixed notation: the game reads no exponents.
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}
