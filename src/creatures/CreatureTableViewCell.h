#pragma once

#include <memory>
#include <string>

#include "external/Bevel.h"
#include "records/CreatureList.h"
#include "ui/TableViewCell.h"

// A row of the creatures list: a kind's heading with its count, or one
// creature with its kind's picture (its spawn egg, or a dropped item's own
// item), its name or kind, and under it where it is, its health and whether
// it is tamed. An action row (a clear-out) shows its title alone.
class CreatureTableViewCell : public ui::TableViewCell {
 public:
  static constexpr double height = 40;

  CreatureTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  void prepareWithRow(const CreatureList::Row& row);

  std::shared_ptr<BVLItemView> pictureView;  // null for a heading or an action
  std::shared_ptr<BVLLabel> titleLabel;
  std::shared_ptr<BVLLabel> detailLabel;
};
