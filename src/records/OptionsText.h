#pragma once

#include <optional>
#include <string>
#include <string_view>

// The options file's text: UTF-8, one setting a line, the key, ":" and the
// value. Pure functions of the text, apart from any file, so that they can be
// tested and fuzzed by themselves.
class OptionsText {
 public:
  // Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
  static bool isUTF8(std::string_view text);

  // The value of key: the text after "key:" on the line that begins with it,
  // up to the line feed or the end of the text. None when the text is not
  // UTF-8 or no line begins with the key. A byte-order mark before the first
  // line is skipped.
  static std::optional<std::string> valueForKey(std::string_view text, std::string_view key);

  // A changed text to write, or a sentence saying why there is none.
  struct Rewrite {
    std::optional<std::string> text;  // what to write
    std::string refusal;              // otherwise, why not
  };

  // The text with key's value replaced by value and every other byte as it
  // was. Nothing to write when the key is not found, the text is not UTF-8,
  // or value holds a line break or is not UTF-8: it would change the file's
  // lines.
  static Rewrite replacingValue(std::string_view text, std::string_view key, std::string_view value);

  // The value of key as far as the text can be read: like valueForKey, but
  // bytes that are not UTF-8 elsewhere in the text do not hide it (the value
  // itself must be UTF-8).
  static std::optional<std::string> readableValue(std::string_view text, std::string_view key);

  // Whether the text is the options file of today's game, which keeps keys
  // the early game never wrote.
  static bool isTodays(std::string_view text);

  // The text with key's value replaced, only when the text is nothing but
  // settings and comes out the same when made anew from them: UTF-8, every
  // line "key:value" ended by a line feed alone (the last may lack it), the
  // key on one line only, no text left by a merge tool.
  // Otherwise, or when the key is missing or the value would break a line,
  // a sentence saying why, and nothing to write.
  static Rewrite rewritingValue(std::string_view text, std::string_view key, std::string_view value);

  // The file's text as the widgets take it: a whole number (leading space
  // skipped, digits after an optional sign, clamped to 32 bits, else 0) and
  // a decimal number (the longest one at the start, else 0).
  static int integerValue(const std::optional<std::string>& text);
  static float decimalValue(const std::optional<std::string>& text);
  // A slider's position as the file keeps it: six decimals and a full stop
  // whatever the user's locale ("0.500000").
  static std::string positionText(float position);
  // A number as today's game writes it: a whole one as such, else the
  // shortest decimal that reads back as the same float ("0.5", "69.2").
  static std::string decimalText(float value);
};
