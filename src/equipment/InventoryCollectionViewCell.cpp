#include "equipment/InventoryCollectionViewCell.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "equipment/ItemLook.h"
#include "equipment/ItemViewController.h"
#include "records/ItemIdentity.h"
#include "records/ItemTag.h"
#include "ui/Font.h"

namespace {

constexpr double barPixels = 13;
constexpr double pixel = 2;  // the 28-point picture draws the 16 pixels of a 14-pixel slot

}  // namespace

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
  captionView_ = std::make_shared<BVLLabel>(ui::Rect(2, frame.height() - 12, frame.width() - 4, 9));
  captionView_->setFont(ui::Font::named("Minecraft", 8));
  captionView_->setTextAlignment(ui::TextAlignment::Center);
  captionView_->setTextColor(ui::Color::rgba(0.8, 0.8, 0.8));
  captionView_->setShadowOffset(ui::Size{1, 1});
  addSubview(captionView_);
  glintView_ = std::make_shared<ui::View>(ui::Rect(12, 14, frame.width() - 24, frame.height() - 28));
  glintView_->setBackgroundColor(ui::Color::rgba(128 / 255.0, 64 / 255.0, 204 / 255.0, 0.4));
  glintView_->setHidden(true);
  addSubview(glintView_);
  wearView_ = std::make_shared<ui::View>(
      ui::Rect(frame.width() / 2 - barPixels, frame.height() - 14, barPixels * pixel, pixel * 2));
  wearView_->setBackgroundColor(ui::Color::black());
  wearView_->setHidden(true);
  wearLevelView_ = std::make_shared<ui::View>(ui::Rect(0, 0, 0, pixel));
  wearView_->addSubview(wearLevelView_);
  addSubview(wearView_);
}

void InventoryCollectionViewCell::prepareWithItem(const std::shared_ptr<TBKCompoundTag>& entry) {
  if (itemView_) itemView_->removeFromSuperview();
  static const TBKCompoundTag none("");
  const TBKCompoundTag& item = entry ? *entry : none;
  ui::Rect b = bounds();
  ItemIdentity identity = ItemIdentity::of(item);
  itemView_ = itemViewWithFrame(identity, ui::Rect(12, 14, b.width() - 24, b.height() - 28));
  insertSubviewBelow(itemView_, countView_);
  glintView_->setHidden(!identity.isNamed() || itemtag::enchantments(item).empty());
  int most = ItemViewController::maxDurability(item);
  int left = most - itemtag::spentUses(item);
  wearView_->setHidden(most <= 0 || left >= most);
  if (!wearView_->isHidden()) {
    wearLevelView_->setFrame(ui::Rect(0, 0, wearLength(left, most) * pixel, pixel));
    wearLevelView_->setBackgroundColor(wearColor(left, most));
  }
  // Today's empty slot says so by its empty name; a count over it would be
  // a count of nothing. The early game's item 0 is shown as stored.
  countView_->setText(identity.isEmptySlot() ? std::string()
                                             : std::to_string(item.numberForKey("Count").unsignedCharValue()));
}

void InventoryCollectionViewCell::setCaption(const std::string& caption) { captionView_->setText(caption); }

double InventoryCollectionViewCell::wearLength(int left, int most) {
  if (most <= 0) return 0;
  double share = std::clamp(double(left) / most, 0.0, 1.0);
  return std::round(barPixels * share);
}

// The hue runs from 0 (red) to a third of the circle (green) at full
// saturation and brightness.
ui::Color InventoryCollectionViewCell::wearColor(int left, int most) {
  double share = most <= 0 ? 0 : std::clamp(double(left) / most, 0.0, 1.0);
  double hue = share / 3 * 6;  // in sixths of the circle: 0 .. 2
  double rising = hue - std::floor(hue);
  if (hue < 1) return ui::Color::rgba(1, rising, 0);
  if (hue < 2) return ui::Color::rgba(1 - rising, 1, 0);
  return ui::Color::rgba(0, 1, 0);
}
