#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/ImageView.h"

class BVLLabel;

// A view showing one item's picture from the catalogue, fitted into its
// bounds with its aspect kept, nearest neighbour. An item may be given by the
// early game's numbers or by today's game's name. A numbered item the
// catalogue does not know shows nothing; a name it does not know (a newer
// item, an add-on's) shows the generic picture with the name written over it,
// as large as the width allows (a view too narrow for the whole name shows the
// part after its namespace).
class BVLItemView : public ui::ImageView {
 public:
  static std::shared_ptr<BVLItemView> itemViewWithFrame(const ui::Rect& frame, uint16_t id, uint16_t damage);
  static std::shared_ptr<BVLItemView> itemViewWithFrame(const ui::Rect& frame, const std::string& identifier,
                                                        uint16_t damage);

  BVLItemView(const ui::Rect& frame, uint16_t id, uint16_t damage);
  BVLItemView(const ui::Rect& frame, const std::string& identifier, uint16_t damage);

  // The early id shown (0 for a named item) and the damage given, either kind.
  uint16_t itemID() const { return id_; }
  uint16_t damage() const { return damage_; }
  // The name shown; empty for a numbered item.
  const std::string& identifier() const { return identifier_; }
  // The label that writes an unknown name over the generic picture; null
  // for every item the catalogue knows and for numbered items.
  std::shared_ptr<BVLLabel> nameLabel() const { return nameLabel_; }

  void layoutSubviews() override;

 private:
  uint16_t id_ = 0;
  uint16_t damage_ = 0;
  std::string identifier_;
  std::shared_ptr<BVLLabel> nameLabel_;
};
