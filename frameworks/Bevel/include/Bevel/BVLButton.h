#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/Control.h"
#include "ui/Font.h"
#include "ui/Image.h"

// The game's button: the stone strip of gui.png drawn as a nine-slice at two
// points a texel, a blue-grey strip while pressed, a darker one when
// disabled; the title in the game font, an optional image centred.
//
// `callback` runs once for each touch released inside the button (with the
// usual finger slop); never when the program changes the button.
class BVLButton : public ui::Control {
 public:
  using Callback = std::function<void(BVLButton&)>;

  BVLButton(const ui::Rect& frame, Callback callback);

  // Only the normal state has its own title and image; the pressed and
  // disabled looks show the normal ones.
  void setTitle(const std::string& title, ui::ControlState state);
  const std::string& title() const { return title_; }
  void setImage(std::shared_ptr<ui::Image> image, ui::ControlState state);
  std::shared_ptr<ui::Image> image() const { return image_; }
  void setFont(const ui::Font& font);
  const ui::Font& font() const { return font_; }

  void draw(ui::GraphicsContext& context, const ui::Rect& dirty) override;

 private:
  Callback callback_;
  std::string title_;
  std::shared_ptr<ui::Image> image_;
  ui::Font font_;
};
