#include "options/OptionTableViewCell.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string_view>

#include "Tarnbook/TBKGameFile.h"
#include "external/Tarnbook.h"
#include "options/OptionsText.h"
#include "ui/Font.h"

namespace {

// Wherever the game is laid out: the phone's sandbox or a desktop launcher's
// com.mojang folder.
TBKGameFile options() { return TBKGameFile(TBKFileSource::sharedSource().optionsFile(), "options"); }

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
  if (!text) return std::nullopt;
  return OptionsText::valueForKey(*text, key);
}

bool OptionTableViewCell::setValue(const std::string& value, const std::string& key) {
  try {
    TBKGameFile file = options();
    auto text = file.read();
    if (!text) return false;
    auto changed = OptionsText::replacingValue(*text, key, value);
    if (!changed) return false;
    file.backUpOnce();
    file.replace(*changed);
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
      auto field = std::make_shared<BVLTextField>(ui::Rect(width - 220, 5, 200, 36),
                                                  [key](BVLTextField& field, const std::string& text) {
                                                    if (!setValue(text, key))
                                                      field.setText(valueForKey(key).value_or(""));
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
