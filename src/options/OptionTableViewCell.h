#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "external/Bevel.h"
#include "options/OptionRow.h"
#include "records/Refusal.h"
#include "ui/TableViewCell.h"

// One row of the options screen: the option's name on the left and, on the
// right, a widget showing the row's stored value. The cell never reaches the
// file itself: it is given a way to read the value and a way to write it, and
// every change the user makes is written at once through the second.
class OptionTableViewCell : public ui::TableViewCell {
 public:
  // The row's value as stored now; none when there is none to show.
  using Read = std::function<std::optional<std::string>()>;
  // Stores a value for the row; nothing when it was written, else why not.
  using Write = std::function<Outcome(const std::string&)>;

  OptionTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  // Rebuilds the label and the widget for row, showing read()'s value (read
  // once, now). A row without a value shows its widget dimmed and taking no
  // input. After each write the widget shows what read() then says is
  // stored; a refused write is shown with showRefusal. The widget keeps
  // read and write until the next preparation. Returns this cell.
  std::shared_ptr<OptionTableViewCell> makeReady(const OptionRow& row, Read read, Write write);

  // The row's title and its widget (a BVLTextField, BVLSwitch, BVLSlider or
  // BVLButton), both children of the cell; null before the first
  // preparation.
  std::shared_ptr<BVLLabel> nameLabel;
  std::shared_ptr<ui::View> settingView;

  // A cell never shows itself selected.
  using ui::TableViewCell::setSelected;
  void setSelected(bool, bool) override {}
};
