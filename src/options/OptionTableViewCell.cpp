#include "options/OptionTableViewCell.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/RefusalAlert.h"
#include "records/OptionsText.h"
#include "ui/Font.h"

namespace {

// A widget dimmed and deaf: its row has no value to change.
void disable(ui::View& widget) {
  widget.setOpacity(0.5);
  widget.setUserInteractionEnabled(false);
  if (auto* control = dynamic_cast<ui::Control*>(&widget)) control->setEnabled(false);
}

// A row's stored value, as its widget's closures reach it.
struct Stored {
  OptionTableViewCell::Read read;
  OptionTableViewCell::Write write;

  // Whether text was written; a refusal has been shown when this returns.
  bool store(const std::string& text) const {
    Outcome outcome = write(text);
    showRefusal(outcome);
    return !outcome;
  }
};

// A ranged slider's value at a position, on its steps.
float rangeValue(const OptionRow& row, float position) {
  float span = row.maximum - row.minimum;
  float offset = position * span;
  if (row.steps > 0) offset = std::round(offset * float(row.steps)) / float(row.steps);
  return row.minimum + offset;
}

float rangePosition(const OptionRow& row, float value) {
  float span = row.maximum - row.minimum;
  return span > 0 ? (value - row.minimum) / span : 0;
}

// A value outside the names shows as it stands in the file; the next tap
// starts again from the first name.
std::shared_ptr<ui::View> makeChoice(const OptionRow& row, double width, const std::optional<std::string>& value,
                                     const Stored& stored) {
  const std::vector<std::string> names = row.names;
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
      std::make_shared<BVLButton>(ui::Rect(width - 220, 5, 200, 36), [stored, names, named, show](BVLButton& button) {
        int value = named(stored.read());
        stored.store(std::to_string(value >= 0 && size_t(value) + 1 < names.size() ? value + 1 : 0));
        show(button, stored.read());
      });
  show(*button, value);
  return button;
}

// The value beside the track is the stored text until the knob moves; then
// it is the value the knob would write, as it would be written.
std::shared_ptr<ui::View> makeRangeSlider(const OptionRow& row, double width, const std::optional<std::string>& value,
                                          const Stored& stored) {
  const bool whole = row.kind == OptionKind::WholeSlider;
  struct Rest {
    float position = 0;
    std::string text;
  };
  auto rest = std::make_shared<Rest>();
  // The stored value as shown, and the text that writes a shown value.
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
                                  [stored, row, whole, written, settle](BVLSlider& slider, float position, long) {
                                    float value = rangeValue(row, position);
                                    if (whole) value = std::round(value);
                                    stored.store(written(value));
                                    settle(slider, stored.read());
                                  });
  slider->setValueText(80, [rest, row, whole, label](float position) {
    if (position == rest->position) return rest->text;
    float value = rangeValue(row, position);
    return label(whole ? std::round(value) : value);
  });
  settle(*slider, value);
  return slider;
}

// The widget for one row, showing the stored value. When a change is not
// written, the widget shows what is stored, so the screen never shows a
// value that is not in the file.
std::shared_ptr<ui::View> makeSettingView(const OptionRow& row, double width, const Stored& stored) {
  const std::optional<std::string> value = stored.read();
  std::shared_ptr<ui::View> widget;
  switch (row.kind) {
    case OptionKind::TextField: {
      auto field = std::make_shared<BVLTextField>(ui::Rect(width - 220, 5, 200, 36),
                                                  [stored](BVLTextField& field, const std::string& text) {
                                                    if (!stored.store(text)) field.setText(stored.read().value_or(""));
                                                  });
      field->setText(value.value_or(""));
      widget = field;
      break;
    }
    case OptionKind::Switch: {
      auto toggle = std::make_shared<BVLSwitch>(ui::Rect(width - 96, 0, 76, 38), [stored](BVLSwitch& toggle, bool on) {
        if (!stored.store(on ? "1" : "0")) toggle.setOn(OptionsText::integerValue(stored.read()) != 0);
      });
      toggle->setOn(OptionsText::integerValue(value) != 0);
      widget = toggle;
      break;
    }
    case OptionKind::Slider: {
      auto slider = std::make_shared<BVLSlider>(ui::Rect(width - 220, 5, 200, 36), 0,
                                                [stored](BVLSlider& slider, float position, long) {
                                                  if (!stored.store(OptionsText::positionText(position))) {
                                                    slider.setPosition(OptionsText::decimalValue(stored.read()));
                                                  }
                                                });
      slider->setPosition(OptionsText::decimalValue(value));
      widget = slider;
      break;
    }
    case OptionKind::Choice:
      widget = makeChoice(row, width, value, stored);
      break;
    case OptionKind::RangeSlider:
    case OptionKind::WholeSlider:
      widget = makeRangeSlider(row, width, value, stored);
      break;
  }
  if (!value) disable(*widget);
  return widget;
}

}  // namespace

OptionTableViewCell::OptionTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {}

std::shared_ptr<OptionTableViewCell> OptionTableViewCell::makeReady(const OptionRow& row, Read read, Write write) {
  if (nameLabel) nameLabel->removeFromSuperview();
  ui::Size size = ui::Font::named("Minecraft", 16).measure(row.name);
  nameLabel = std::make_shared<BVLLabel>(ui::Rect(40, 15, size.width, size.height));
  nameLabel->setText(row.name);
  nameLabel->setStyle(BVLLabel::DetailStyle);
  addSubview(nameLabel);
  setBackgroundColor(ui::Color::clear());

  if (settingView) settingView->removeFromSuperview();
  settingView = makeSettingView(row, frame().width(), Stored{std::move(read), std::move(write)});
  addSubview(settingView);
  return std::static_pointer_cast<OptionTableViewCell>(shared_from_this());
}
