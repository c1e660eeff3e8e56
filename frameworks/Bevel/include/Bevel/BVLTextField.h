#pragma once

#include <functional>
#include <string>

#include "ui/TextField.h"

// A one-line text field in the game's look: a sunken black box with the
// game font in white, its rim lit while editing.
//
// `callback` runs once when an editing session ends (Return or the focus
// moving away) and the text differs from what it was when the session
// began; setText never runs it.
class BVLTextField : public ui::TextField {
 public:
  using Callback = std::function<void(BVLTextField&, const std::string&)>;

  BVLTextField(const ui::Rect& frame, Callback callback);

  void draw(ui::GraphicsContext& context, const ui::Rect& dirty) override;

 private:
  Callback callback_;
  std::string textAtStart_;
};
