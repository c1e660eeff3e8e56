#pragma once

#include <memory>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "ui/CollectionViewCell.h"
#include "ui/ImageView.h"

// One slot of the inventory grid: the game's slot frame, the item's picture
// and its count in small game type over it. Back to front: slot frame
// (the cell's background view), item picture, count.
class InventoryCollectionViewCell : public ui::CollectionViewCell {
 public:
  explicit InventoryCollectionViewCell(const ui::Rect& frame);

  // Shows `item`'s picture and count, replacing the previous item's. An
  // entry that is not a compound (null) reads as all zeros; a named empty
  // slot shows neither picture nor count.
  void prepareWithItem(const std::shared_ptr<TBKCompoundTag>& item);

  std::shared_ptr<BVLItemView> itemView() const { return itemView_; }
  std::shared_ptr<BVLLabel> countView() const { return countView_; }

 private:
  std::shared_ptr<BVLItemView> itemView_;
  std::shared_ptr<BVLLabel> countView_;
};
