#pragma once

#include <cstdint>
#include <memory>

#include "ui/ImageView.h"

// A view showing one item's picture from the catalogue, fitted into its
// bounds with its aspect kept, nearest neighbour. An item the catalogue does
// not know shows nothing.
class BVLItemView : public ui::ImageView {
 public:
  static std::shared_ptr<BVLItemView> itemViewWithFrame(const ui::Rect& frame, uint16_t id, uint16_t damage);

  BVLItemView(const ui::Rect& frame, uint16_t id, uint16_t damage);

  uint16_t itemID() const { return id_; }
  uint16_t damage() const { return damage_; }

 private:
  uint16_t id_;
  uint16_t damage_;
};
