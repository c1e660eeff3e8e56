// libFuzzer target for the options file's reader and writer. The input is a
// key, a line feed, a value, a line feed, then the file's text. Beyond not
// crashing: a replacement changes nothing but the value's bytes, and the
// replaced value reads back as written; the checked rewrite agrees with it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "records/OptionsText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t first = input.find('\n');
  if (first == std::string_view::npos) return 0;
  size_t second = input.find('\n', first + 1);
  if (second == std::string_view::npos) return 0;
  std::string_view key = input.substr(0, first);
  std::string_view value = input.substr(first + 1, second - first - 1);
  std::string_view text = input.substr(second + 1);

  auto before = OptionsText::valueForKey(text, key);
  auto replaced = OptionsText::replacingValue(text, key, value);
  const std::optional<std::string>& changed = replaced.text;
  // Written, or refused with a reason: never both, never neither.
  if (changed.has_value() == !replaced.refusal.empty()) std::abort();
  // The checked rewrite writes what the plain replacement does, when it
  // writes at all, and says why whenever it does not.
  auto rewrite = OptionsText::rewritingValue(text, key, value);
  if (rewrite.text ? rewrite.text != changed || !rewrite.refusal.empty() : rewrite.refusal.empty()) std::abort();
  if (OptionsText::readableValue(text, key) != before && OptionsText::isUTF8(text)) std::abort();
  (void)OptionsText::isTodays(text);
  if (!changed) return 0;
  // Only a value that was found can be replaced.
  if (!before) std::abort();
  if (OptionsText::valueForKey(*changed, key) != std::string(value)) std::abort();
  // An oracle of its own: the first line that begins with "key:", after a
  // byte-order mark; the file around its value must be byte for byte the old.
  size_t line = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (!(text.substr(line).starts_with(key) && text.substr(line + key.size()).starts_with(":"))) {
    line = text.find('\n', line);
    if (line == std::string_view::npos) std::abort();
    ++line;
  }
  size_t valueStart = line + key.size() + 1;
  if (text.substr(valueStart, before->size()) != *before) std::abort();
  if (*changed != std::string(text.substr(0, valueStart)) + std::string(value) +
                      std::string(text.substr(valueStart + before->size())))
    std::abort();
  return 0;
}
