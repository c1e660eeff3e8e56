#include "options/OptionTableViewCell.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "Tarnbook/TBKGameFile.h"
#include "external/Tarnbook.h"
#include "records/OptionsText.h"
#include "records/WholeNumber.h"
#include "ui/AlertView.h"
#include "ui/Exception.h"
#include "ui/Font.h"

namespace {

// Wherever the game is laid out: the phone's sandbox or a desktop launcher's
// com.mojang folder.
TBKGameFile options() { return TBKGameFile(TBKFileSource::sharedSource().optionsFile(), "options"); }

// A widget dimmed and deaf: its row has no value in the file to change.
void disable(ui::View& widget) {
  widget.setOpacity(0.5);
  widget.setUserInteractionEnabled(false);
  if (auto* control = dynamic_cast<ui::Control*>(&widget)) control->setEnabled(false);
}

void explain(const std::string& refusal) {
  auto alert = std::make_shared<ui::AlertView>("Not Written", "options.txt was left as it was: " + refusal + ".",
                                               nullptr, "Okay", std::vector<std::string>{});
  try {
    alert->show();
  } catch (const ui::Exception&) {
    // No window to show it in: the widget going back to the file's value
    // is all there is to say.
  }
}

// How a row reaches the file: an early row as it always did, quietly; a
// checked one as far as the file reads, and aloud when a write is refused.
struct Access {
  std::string key;
  bool checked;

  std::optional<std::string> read() const {
    return checked ? OptionTableViewCell::readableValueForKey(key) : OptionTableViewCell::valueForKey(key);
  }
  // Whether the file now holds the value.
  bool write(const std::string& value) const {
    if (!checked) return OptionTableViewCell::setValue(value, key);
    auto refusal = OptionTableViewCell::writeValue(value, key);
    if (refusal) explain(*refusal);
    return !refusal;
  }
};

// A ranged slider's value at a position, on its steps.
float rangeValue(const OptionDefinition& definition, float position) {
  float span = definition.maximum - definition.minimum;
  float offset = position * span;
  if (definition.steps > 0) offset = std::round(offset * float(definition.steps)) / float(definition.steps);
  return definition.minimum + offset;
}

float rangePosition(const OptionDefinition& definition, float value) {
  float span = definition.maximum - definition.minimum;
  return span > 0 ? (value - definition.minimum) / span : 0;
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

std::optional<std::string> OptionTableViewCell::readableValueForKey(const std::string& key) {
  try {
    auto text = options().read();
    return text ? OptionsText::readableValue(*text, key) : std::nullopt;
  } catch (const TBKException&) {
    return std::nullopt;
  }
}

std::optional<std::string> OptionTableViewCell::writeValue(const std::string& value, const std::string& key) {
  try {
    TBKGameFile file = options();
    auto text = file.read();
    if (!text) return "there is no options file";
    auto rewrite = OptionsText::rewritingValue(*text, key, value);
    if (!rewrite.text) return rewrite.refusal;
    file.backUpOnce();
    file.replace(*rewrite.text);
    return std::nullopt;
  } catch (const TBKException& error) {
    return error.reason();
  }
}

bool OptionTableViewCell::fileIsTodays() {
  try {
    auto text = options().read();
    return text && OptionsText::isTodays(*text);
  } catch (const TBKException&) {
    return false;
  }
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
  const Access file{definition.setting, definition.checked};
  const std::optional<std::string> value = file.read();
  std::shared_ptr<ui::View> widget;
  switch (definition.type) {
    case TextFieldType: {
      auto field = std::make_shared<BVLTextField>(ui::Rect(width - 220, 5, 200, 36),
                                                  [file](BVLTextField& field, const std::string& text) {
                                                    if (!file.write(text)) field.setText(file.read().value_or(""));
                                                  });
      field->setText(value.value_or(""));
      widget = field;
      break;
    }
    case SwitchType: {
      auto toggle = std::make_shared<BVLSwitch>(ui::Rect(width - 96, 0, 76, 38), [file](BVLSwitch& toggle, bool on) {
        if (!file.write(on ? "1" : "0")) toggle.setOn(OptionsText::integerValue(file.read()) != 0);
      });
      toggle->setOn(OptionsText::integerValue(value) != 0);
      widget = toggle;
      break;
    }
    case SliderType: {
      auto slider = std::make_shared<BVLSlider>(ui::Rect(width - 220, 5, 200, 36), 0,
                                                [file](BVLSlider& slider, float position, long) {
                                                  if (!file.write(OptionsText::positionText(position))) {
                                                    slider.setPosition(OptionsText::decimalValue(file.read()));
                                                  }
                                                });
      slider->setPosition(OptionsText::decimalValue(value));
      widget = slider;
      break;
    }
    case ChoiceType:
      widget = makeChoice(definition, width, value);
      break;
    case RangeSliderType:
    case WholeSliderType:
      widget = makeRangeSlider(definition, width, value);
      break;
    default:
      return nullptr;
  }
  if (!value) disable(*widget);
  return widget;
}

// A value outside the names shows as it stands in the file; the next tap
// starts again from the first name.
std::shared_ptr<ui::View> OptionTableViewCell::makeChoice(const OptionDefinition& definition, double width,
                                                          const std::optional<std::string>& value) {
  const Access file{definition.setting, definition.checked};
  const std::vector<std::string> names = definition.names;
  // The value's place among the names, or -1.
  auto named = [names](const std::optional<std::string>& text) {
    int value = OptionsText::integerValue(text);
    return text && !text->empty() && value >= 0 && size_t(value) < names.size() ? value : -1;
  };
  auto show = [names, named](BVLButton& button, const std::optional<std::string>& text) {
    int value = named(text);
    button.setTitle(value >= 0 ? names[size_t(value)] : text.value_or(""), ui::ControlState::Normal);
  };
  auto button =
      std::make_shared<BVLButton>(ui::Rect(width - 220, 5, 200, 36), [file, names, named, show](BVLButton& button) {
        int value = named(file.read());
        file.write(std::to_string(value >= 0 && size_t(value) + 1 < names.size() ? value + 1 : 0));
        show(button, file.read());
      });
  show(*button, value);
  return button;
}

// The value beside the track is the file's own text until the knob moves;
// then it is the value the knob would write, as it would be written.
std::shared_ptr<ui::View> OptionTableViewCell::makeRangeSlider(const OptionDefinition& definition, double width,
                                                               const std::optional<std::string>& value) {
  const Access file{definition.setting, definition.checked};
  const OptionDefinition row = definition;
  const bool whole = definition.type == WholeSliderType;
  struct Rest {
    float position = 0;
    std::string text;
  };
  auto rest = std::make_shared<Rest>();
  // The file's value as shown, and the text that writes a shown value.
  auto shown = [row, whole](const std::optional<std::string>& text) {
    return whole ? float(OptionsText::integerValue(text) / std::max(1, row.scale)) : OptionsText::decimalValue(text);
  };
  auto written = [row, whole](float value) {
    return whole ? std::to_string(std::lround(value) * std::max(1, row.scale)) : OptionsText::decimalText(value);
  };
  auto label = [row, whole](float value) {
    if (whole && std::lround(value) == 0 && !row.zeroName.empty()) return row.zeroName;
    return whole ? std::to_string(std::lround(value)) : OptionsText::decimalText(value);
  };
  auto settle = [row, rest, shown, label](BVLSlider& slider, const std::optional<std::string>& text) {
    slider.setPosition(rangePosition(row, shown(text)));
    rest->position = slider.position();
    rest->text = label(shown(text));
    slider.setNeedsDisplay();
  };
  auto slider =
      std::make_shared<BVLSlider>(ui::Rect(width - 300, 5, 280, 36), 0,
                                  [file, row, whole, written, settle](BVLSlider& slider, float position, long) {
                                    float value = rangeValue(row, position);
                                    if (whole) value = std::round(value);
                                    file.write(written(value));
                                    settle(slider, file.read());
                                  });
  slider->setValueText(80, [rest, row, whole, label](float position) {
    if (position == rest->position) return rest->text;
    float value = rangeValue(row, position);
    return label(whole ? std::round(value) : value);
  });
  settle(*slider, value);
  return slider;
}
