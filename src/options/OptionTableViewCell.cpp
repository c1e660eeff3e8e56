#include "options/OptionTableViewCell.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string_view>

#include "external/Tarnbook.h"
#include "Tarnbook/TBKGameFile.h"
#include "ui/Font.h"

namespace {

const char* const optionsFile = "Documents/games/com.mojang/minecraftpe/options.txt";
// Some editors start a UTF-8 file with one; it is kept, and the first line
// begins after it.
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

TBKGameFile options() {
  std::string path = TBKFileSource::sharedSource().minecraftSandbox();
  if (path.empty() || path.back() != '/') path.push_back('/');
  return TBKGameFile(path + optionsFile, "options");
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isUTF8(std::string_view text) {
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

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

size_t skipSpace(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  return i;
}

// A widget dimmed and deaf: its row has no value in the file to change.
void disable(ui::View& widget) {
  widget.setOpacity(0.5);
  widget.setUserInteractionEnabled(false);
  if (auto* control = dynamic_cast<ui::Control*>(&widget)) control->setEnabled(false);
}

}  // namespace

OptionTableViewCell::OptionTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {}

std::optional<std::string> OptionTableViewCell::valueForKey(const std::string& key) {
  std::optional<std::string> text;
  try {
    text = options().read();
  } catch (const TBKException&) {
    return std::nullopt;
  }
  if (!text || !isUTF8(*text)) return std::nullopt;
  auto range = findValue(*text, key);
  if (!range) return std::nullopt;
  return text->substr(range->start, range->length);
}

bool OptionTableViewCell::setValue(const std::string& value, const std::string& key) {
  if (value.find_first_of("\r\n") != std::string::npos || !isUTF8(value)) return false;
  try {
    TBKGameFile file = options();
    auto text = file.read();
    if (!text || !isUTF8(*text)) return false;
    auto range = findValue(*text, key);
    if (!range) return false;
    text->replace(range->start, range->length, value);
    file.backUpOnce();
    file.replace(*text);
    return true;
  } catch (const TBKException&) {
    // Nothing was changed: the row shows the file's value again.
    return false;
  }
}

int OptionTableViewCell::integerValue(const std::optional<std::string>& text) {
  if (!text) return 0;
  std::string_view rest(*text);
  rest.remove_prefix(skipSpace(rest));
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  const int64_t limit = negative ? -int64_t(std::numeric_limits<int32_t>::min()) : std::numeric_limits<int32_t>::max();
  int64_t magnitude = 0;
  for (char c : rest) {
    if (c < '0' || c > '9') break;
    magnitude = std::min(limit, magnitude * 10 + (c - '0'));
  }
  return static_cast<int>(negative ? -magnitude : magnitude);
}

float OptionTableViewCell::decimalValue(const std::optional<std::string>& text) {
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

std::string OptionTableViewCell::positionText(float position) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, double(position), std::chars_format::fixed, 6);
  // Only a number too wide for the buffer fails, and a float never is.
  return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}

std::shared_ptr<OptionTableViewCell> OptionTableViewCell::makeReadyWithIndexPath(
    const ui::IndexPath& indexPath, const std::vector<std::string>& sections, const OptionDefinitions& definitions) {
  const OptionDefinition& definition = definitions.at(sections.at(size_t(indexPath.section))).at(size_t(indexPath.row));

  if (nameLabel) nameLabel->removeFromSuperview();
  ui::Size size = ui::Font::named("Minecraft", 16).measure(definition.name);
  nameLabel = std::make_shared<BVLLabel>(ui::Rect(40, 15, size.width, size.height));
  nameLabel->setText(definition.name);
  nameLabel->setStyle(BVLLabel::DetailStyle);
  addSubview(nameLabel);
  setBackgroundColor(ui::Color::clear());

  if (settingView) {
    settingView->removeFromSuperview();
    settingView = nullptr;
  }
  settingView = makeSettingView(definition, frame().width());
  if (settingView) addSubview(settingView);
  return std::static_pointer_cast<OptionTableViewCell>(shared_from_this());
}

// The widget for one row, showing the file's value. Each change the user
// makes is written under the row's key; when the file does not take it, the
// widget shows what the file holds, so the screen never shows a value that
// is not in the file.
std::shared_ptr<ui::View> OptionTableViewCell::makeSettingView(const OptionDefinition& definition, double width) {
  const std::string key = definition.setting;
  std::shared_ptr<ui::View> widget;
  std::optional<std::string> value;
  switch (definition.type) {
    case TextFieldType: {
      auto field = std::make_shared<BVLTextField>(ui::Rect(width - 220, 5, 200, 36), [key](BVLTextField& field,
                                                                                            const std::string& text) {
        if (!setValue(text, key)) field.setText(valueForKey(key).value_or(""));
      });
      value = valueForKey(key);
      field->setText(value.value_or(""));
      widget = field;
      break;
    }
    case SwitchType: {
      auto toggle = std::make_shared<BVLSwitch>(ui::Rect(width - 96, 0, 76, 38), [key](BVLSwitch& toggle, bool on) {
        if (!setValue(on ? "1" : "0", key)) toggle.setOn(integerValue(valueForKey(key)) != 0);
      });
      value = valueForKey(key);
      toggle->setOn(integerValue(value) != 0);
      widget = toggle;
      break;
    }
    case SliderType: {
      auto slider = std::make_shared<BVLSlider>(ui::Rect(width - 220, 5, 200, 36), 0,
                                                [key](BVLSlider& slider, float position, long) {
                                                  if (!setValue(positionText(position), key)) {
                                                    slider.setPosition(decimalValue(valueForKey(key)));
                                                  }
                                                });
      value = valueForKey(key);
      slider->setPosition(decimalValue(value));
      widget = slider;
      break;
    }
    default:
      return nullptr;
  }
  if (!value) disable(*widget);
  return widget;
}
