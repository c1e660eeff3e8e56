#include "Bevel/BVLItemView.h"

#include <algorithm>
#include <cmath>

#include "Bevel/BVLItemIDSource.h"
#include "Bevel/BVLLabel.h"
#include "GameLook.h"

namespace {

// The name is written as large as fits the view's width, between these sizes;
// a longer name is cut at the view's edges rather than made unreadable.
constexpr double largestNameSize = 16;
constexpr double smallestNameSize = 6;

}  // namespace

std::shared_ptr<BVLItemView> BVLItemView::itemViewWithFrame(const ui::Rect& frame, uint16_t id, uint16_t damage) {
  return std::make_shared<BVLItemView>(frame, id, damage);
}

std::shared_ptr<BVLItemView> BVLItemView::itemViewWithFrame(const ui::Rect& frame, const std::string& identifier,
                                                            uint16_t damage) {
  return std::make_shared<BVLItemView>(frame, identifier, damage);
}

BVLItemView::BVLItemView(const ui::Rect& frame, uint16_t id, uint16_t damage)
    : ui::ImageView(frame, BVLItemIDSource::sharedSource()->basicImageForItemWithID(id, damage)),
      id_(id),
      damage_(damage) {
  setContentMode(ui::ContentMode::ScaleAspectFit);
}

BVLItemView::BVLItemView(const ui::Rect& frame, const std::string& identifier, uint16_t damage)
    : ui::ImageView(frame), damage_(damage), identifier_(identifier) {
  setContentMode(ui::ContentMode::ScaleAspectFit);
  auto catalogue = BVLItemIDSource::sharedSource();
  if (catalogue->itemDefinitionWithName(identifier, damage)) {
    setImage(catalogue->basicImageForItemWithName(identifier, damage));
    return;
  }
  setImage(catalogue->genericItemImage());
  nameLabel_ = std::make_shared<BVLLabel>(bounds());
  nameLabel_->setTextAlignment(ui::TextAlignment::Center);
  nameLabel_->setText(identifier);
  addSubview(nameLabel_);
  layoutSubviews();
}

void BVLItemView::layoutSubviews() {
  if (!nameLabel_) return;
  nameLabel_->setFrame(bounds());
  double size = largestNameSize;
  double width = bevel::gameFont(size).measure(identifier_).width;
  if (width > bounds().width() && width > 0) size = std::max(smallestNameSize, size * bounds().width() / width);
  nameLabel_->setFont(bevel::gameFont(std::floor(size)));
  // The shadow keeps its one texel of the game's look at every size.
  nameLabel_->setShadowOffset(ui::Size{1, 1});
}
