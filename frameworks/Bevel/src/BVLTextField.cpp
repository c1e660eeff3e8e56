#include "Bevel/BVLTextField.h"

#include "GameLook.h"
#include "ui/GraphicsContext.h"

BVLTextField::BVLTextField(const ui::Rect& frame, Callback callback)
    : ui::TextField(frame), callback_(std::move(callback)) {
  setFont(bevel::gameFont());
  setTextColor(ui::Color::hex(0xe0e0e0));
  setTintColor(ui::Color::hex(0xffffff));
  double inset = 4 * bevel::texel;
  setTextInsets({0, inset, 0, inset});
  onEditingBegan = [this](ui::TextField&) { textAtStart_ = text(); };
  onEditingEnded = [this](ui::TextField&, const std::string& text) {
    // Leaving the field without a change is not an edit.
    if (text == textAtStart_) return;
    textAtStart_ = text;
    auto callback = callback_;
    if (callback) callback(*this, text);
  };
}

void BVLTextField::draw(ui::GraphicsContext& context, const ui::Rect& dirty) {
  bevel::drawSunkenBox(context, bounds(), ui::Color::hex(0x000000), isEditing());
  ui::TextField::draw(context, dirty);
}
