#pragma once

#include <memory>
#include <string>

#include "external/Bevel.h"
#include "tree/TagTreeRows.h"
#include "ui/TableViewCell.h"

// One row of the tag tree in the game's look: an open or closed mark for
// compounds and lists, the name (or the index in a list) indented by depth,
// the type as a short word and the value (a count for compounds and
// lists). The labels are made once and refilled on reuse, so a scrolled
// frame makes no views.
class TagTreeTableViewCell : public ui::TableViewCell {
 public:
  static constexpr double indentPerLevel = 16;

  TagTreeTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  void prepareWithRow(const TagTreeRow& row, bool selected);
  // The screen draws its own selection (see prepareWithRow): the
  // toolkit's grey highlight is refused.
  void setSelected(bool, bool) override {}
  void setHighlighted(bool, bool) override {}

  const std::shared_ptr<BVLLabel> markLabel;
  const std::shared_ptr<BVLLabel> nameLabel;
  const std::shared_ptr<BVLLabel> typeLabel;
  const std::shared_ptr<BVLLabel> valueLabel;
};
