#include "Bevel/BVLItemView.h"

#include <algorithm>
#include <cmath>

#include "Bevel/BVLItemIDSource.h"
#include "Bevel/BVLLabel.h"
#include "GameLook.h"

namespace {

// The name is written as large as fits the view's width, between these sizes.
// A name too long for a small view (a grid cell) is shortened to the part
// after its namespace, which tells the item apart ("ruby_staff"), and what
// still does not fit is cut at the view's edges rather than made unreadable.
constexpr double largestNameSize = 16;
constexpr double smallestNameSize = 6;

double fittingSize(const std::string& text, double width) {
  double measured = bevel::gameFont(largestNameSize).measure(text).width;
  if (measured <= width || measured <= 0) return largestNameSize;
  return std::floor(largestNameSize * width / measured);
}

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
  nameLabel_->setClipsToBounds(true);
  // The shadow keeps one point at every size, so small text stays crisp.
  nameLabel_->setShadowOffset(ui::Size{1, 1});
  addSubview(nameLabel_);
  layoutSubviews();
}

void BVLItemView::layoutSubviews() {
  if (!nameLabel_) return;
  nameLabel_->setFrame(bounds());
  std::string text = identifier_;
  double size = fittingSize(text, bounds().width());
  size_t colon = identifier_.find(':');
  if (size < smallestNameSize && colon != std::string::npos && colon + 1 < identifier_.size()) {
    text = identifier_.substr(colon + 1);
    size = fittingSize(text, bounds().width());
  }
  nameLabel_->setText(text);
  nameLabel_->setFont(bevel::gameFont(std::max(smallestNameSize, size)));
}
