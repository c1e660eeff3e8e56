#include "equipment/InventoryCollectionViewCell.h"

#include <string>

#include "equipment/ItemIdentity.h"
#include "ui/Font.h"

InventoryCollectionViewCell::InventoryCollectionViewCell(const ui::Rect& frame) : ui::CollectionViewCell(frame) {
  ui::Rect b = bounds();
  auto slot = std::make_shared<ui::ImageView>(b);
  slot->setImage(bvl_resize(bvl_subImageWithFrame(bvl_imageNamed("gui", "png"), ui::Rect(200, 46, 16, 16)), b.size));
  setBackgroundView(slot);

  countView_ = std::make_shared<BVLLabel>(ui::Rect(8, 8, frame.width() - 8, 9));
  countView_->setFont(ui::Font::named("Minecraft", 8));
  countView_->setShadowOffset(ui::Size{1, 1});
  countView_->setTextAlignment(ui::TextAlignment::Left);
  addSubview(countView_);
}

void InventoryCollectionViewCell::prepareWithItem(const std::shared_ptr<TBKCompoundTag>& entry) {
  if (itemView_) itemView_->removeFromSuperview();
  static const TBKCompoundTag none("");
  const TBKCompoundTag& item = entry ? *entry : none;
  ui::Rect b = bounds();
  ItemIdentity identity = ItemIdentity::of(item);
  itemView_ = identity.viewWithFrame(ui::Rect(12, 14, b.width() - 24, b.height() - 28));
  insertSubviewBelow(itemView_, countView_);
  // Today's empty slot says so by its empty name; a count over it would be
  // a count of nothing. The early game's item 0 is shown as stored.
  countView_->setText(identity.isEmptySlot() ? std::string()
                                             : std::to_string(item.numberForKey("Count").unsignedCharValue()));
}
