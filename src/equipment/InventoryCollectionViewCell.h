#pragma once

#include <memory>
#include <string>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "ui/CollectionViewCell.h"
#include "ui/ImageView.h"

// One slot of the inventory grid: the game's slot frame, the item's picture
// and its count in small game type over it. Back to front: slot frame
// (the cell's background view), item picture, count, glint, wear bar. The
// glint (the game's enchantment colour over the picture) marks an enchanted
// item; the wear bar, under a worn one, shows what is left of it, green to
// red, as the game draws it.
class InventoryCollectionViewCell : public ui::CollectionViewCell {
 public:
  explicit InventoryCollectionViewCell(const ui::Rect& frame);

  // Shows `item`'s picture and count, replacing the previous item's. An
  // entry that is not a compound (null) reads as all zeros; a named empty
  // slot shows neither picture nor count.
  void prepareWithItem(const std::shared_ptr<TBKCompoundTag>& item);
  // What the slot is for ("Fuel"), in small type along its foot; empty for
  // a slot that is any slot.
  void setCaption(const std::string& caption);

  std::shared_ptr<BVLItemView> itemView() const { return itemView_; }
  std::shared_ptr<BVLLabel> countView() const { return countView_; }
  std::shared_ptr<BVLLabel> captionView() const { return captionView_; }
  // Hidden when the item shows neither.
  std::shared_ptr<ui::View> glintView() const { return glintView_; }
  std::shared_ptr<ui::View> wearView() const { return wearView_; }
  // The bar's coloured part: its width and colour say what is left.
  std::shared_ptr<ui::View> wearLevelView() const { return wearLevelView_; }

  // The bar for `left` of `most` uses: 13 pixels long in all, of which the
  // share left (rounded) is drawn in a hue from red (none left) to green.
  static double wearLength(int left, int most);
  static ui::Color wearColor(int left, int most);

 private:
  std::shared_ptr<BVLItemView> itemView_;
  std::shared_ptr<BVLLabel> countView_, captionView_;
  std::shared_ptr<ui::View> glintView_, wearView_, wearLevelView_;
};
