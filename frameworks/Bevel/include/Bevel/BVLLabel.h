#pragma once

#include "ui/Label.h"

// A label in the game's look: the "Minecraft" face at 16 points, white text
// with the game's drop shadow (the text colour at a quarter brightness, one
// texel down and right).
class BVLLabel : public ui::Label {
 public:
  // Styles: 3 for section headers and world names (white), 4 for row titles
  // and details (a quieter grey). Any other number is the plain white style.
  static constexpr int HeaderStyle = 3;
  static constexpr int DetailStyle = 4;

  explicit BVLLabel(const ui::Rect& frame);

  int style() const { return style_; }
  void setStyle(int style);

 private:
  int style_ = 0;
};
