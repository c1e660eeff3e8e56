#pragma once

#include <string>
#include <vector>

// The widget that edits a row's value.
enum class OptionKind {
  TextField,
  // On for any value but 0; writes 1 or 0.
  Switch,
  // A position from 0 to 1, written with six decimals.
  Slider,
  // A button showing the value's name; each tap moves to the next value.
  Choice,
  // Sliders that show their value: a decimal one, and a whole-number one.
  RangeSlider,
  WholeSlider,
};

// One row of the options table: the title shown, the options key it edits
// and the kind of widget that edits it, with what that kind needs to know.
// Data, written with designated initializers; what a kind does not use is
// left as it is.
struct OptionRow {
  std::string name;
  std::string setting;
  OptionKind kind = OptionKind::TextField;
  // A choice: the names of the values 0, 1, 2...
  std::vector<std::string> names = {};
  // A ranged slider: the values at its two ends, as shown; `steps` values a
  // unit apart from each other (0: any value). A whole-number slider shows
  // the file's value divided by `scale`, and calls 0 `zeroName` if it has one.
  float minimum = 0;
  float maximum = 1;
  int steps = 0;
  int scale = 1;
  std::string zeroName = {};
};
