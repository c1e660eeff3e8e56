#pragma once

#include <functional>
#include <memory>
#include <string>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "ui/TableViewCell.h"

// A row of the players screen: who the player is, where they stand, and a
// button that opens their rows (or, for a record that is missing, says why).
class PlayerTableViewCell : public ui::TableViewCell {
 public:
  using Open = std::function<void(const TBKPlayerEntry&)>;

  PlayerTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  // Replaces the labels and the button with those of `entry`, showing
  // `place` (see placeOf); `open` runs when the button is tapped. For a
  // record that cannot be read, `problem` says why, and the button says it.
  void makeReadyWithPlayer(const TBKPlayerEntry& entry, const std::string& place, const std::string& problem,
                           Open open);

  // "Local Player", or "Player " and the last eight characters of the
  // player's id (the first eight of the record's uuid when no pointer names
  // it).
  static std::string shortName(const TBKPlayerEntry& entry);
  // "Overworld 128, 65, -40": the dimension and the block the player stands
  // in; empty when the record has no position.
  static std::string placeOf(const TBKCompoundTag& player);

  std::shared_ptr<BVLLabel> nameLabel;
  std::shared_ptr<BVLLabel> placeLabel;
  std::shared_ptr<BVLButton> button;
};
