#include "Bevel/BVLItemView.h"

#include "Bevel/BVLItemIDSource.h"

std::shared_ptr<BVLItemView> BVLItemView::itemViewWithFrame(const ui::Rect& frame, uint16_t id, uint16_t damage) {
  return std::make_shared<BVLItemView>(frame, id, damage);
}

BVLItemView::BVLItemView(const ui::Rect& frame, uint16_t id, uint16_t damage)
    : ui::ImageView(frame, BVLItemIDSource::sharedSource()->basicImageForItemWithID(id, damage)),
      id_(id),
      damage_(damage) {
  setContentMode(ui::ContentMode::ScaleAspectFit);
}
