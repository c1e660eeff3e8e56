#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "ui/TableViewCell.h"

// One row of the options table: the title shown, the options key it edits
// and the kind of widget that edits it (see OptionTableViewCell's type codes),
// with what that kind needs to know.
struct OptionDefinition {
  std::string name;
  std::string setting;
  long type = 0;
  // A choice: the names of the values 0, 1, 2...
  std::vector<std::string> names = {};
  // A ranged slider: the values at its two ends, as shown; `steps` values a
  // unit apart from each other (0: any value). A whole-number slider shows
  // the file's value divided by `scale`, and calls 0 `zeroName` if it has one.
  float minimum = 0, maximum = 1;
  int steps = 0;
  int scale = 1;
  std::string zeroName = {};
  // Writes only into a file that comes out the same apart from the value,
  // and says in an alert why not; values are read as far as the file can
  // be read. Today's files are edited so.
  bool checked = false;
};

using OptionDefinitions = std::map<std::string, std::vector<OptionDefinition>>;

// What the options screen shows: section names in order, and each
// section's rows in order.
struct OptionsTable {
  std::vector<std::string> sections;
  OptionDefinitions definitions;
};

// One row of the options screen: the option's name on the left and, on the
// right, a widget showing its value from the game's options file. Every
// change the user makes is written to the file at once.
//
// The options file is read and written only here, through valueForKey and
// setValue, which keep no state: each call finds the file again and reads it
// whole, and a write replaces only the characters of one value.
class OptionTableViewCell : public ui::TableViewCell {
 public:
  // The "Type" codes of a row definition; any other code shows no widget.
  static constexpr long TextFieldType = 1;
  static constexpr long SwitchType = 2;
  static constexpr long SliderType = 3;
  // A button showing the value's name; each tap moves to the next value.
  static constexpr long ChoiceType = 4;
  // Sliders that show their value: a decimal one, and a whole-number one.
  static constexpr long RangeSliderType = 5;
  static constexpr long WholeSliderType = 6;

  OptionTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  // Rebuilds the label and the widget for the row at indexPath, reading its
  // value from the file once. A row whose key the file lacks (or with no
  // file) shows its widget dimmed and taking no input. Returns this cell.
  std::shared_ptr<OptionTableViewCell> makeReadyWithIndexPath(const ui::IndexPath& indexPath,
                                                              const std::vector<std::string>& sections,
                                                              const OptionDefinitions& definitions);

  // The row's title and its widget (a BVLTextField, BVLSwitch, BVLSlider or
  // BVLButton),
  // both children of the cell; null before the first preparation, and the
  // widget also for a row of an unknown type.
  std::shared_ptr<BVLLabel> nameLabel;
  std::shared_ptr<ui::View> settingView;

  // The value of key: the text after "key:" on the line that begins with
  // it, up to the line feed or the end of the file. None when the file is
  // missing, unreadable or not UTF-8, or no line begins with the key.
  static std::optional<std::string> valueForKey(const std::string& key);
  // Replaces key's value by value and writes the whole file back, keeping
  // every other byte; the file's first write of a run keeps a backup first.
  // Returns whether the file now holds the value. Nothing is written when
  // the key or the file cannot be found, or the value holds a line break or
  // is not UTF-8 (it would change the file's lines), and when the file
  // system refuses the write the old file stays whole. Raises nothing.
  static bool setValue(const std::string& value, const std::string& key);

  // For checked rows: the value as far as the file can be read, and a write
  // that only takes place when the file comes out the same apart from the
  // value; it returns why it did not (nothing when it wrote). Raises nothing.
  static std::optional<std::string> readableValueForKey(const std::string& key);
  static std::optional<std::string> writeValue(const std::string& value, const std::string& key);
  // Whether the options file is one of today's game.
  static bool fileIsTodays();

  // A cell never shows itself selected.
  using ui::TableViewCell::setSelected;
  void setSelected(bool, bool) override {}

 private:
  std::shared_ptr<ui::View> makeSettingView(const OptionDefinition& definition, double width);
  std::shared_ptr<ui::View> makeChoice(const OptionDefinition& definition, double width,
                                       const std::optional<std::string>& value);
  std::shared_ptr<ui::View> makeRangeSlider(const OptionDefinition& definition, double width,
                                            const std::optional<std::string>& value);
};
