#pragma once

// The kit's shared drawing: the game font, text with the game's shadow and
// the pieces cut from gui.png. Internal to the library.
#include <memory>
#include <string>

#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/GraphicsContext.h"

namespace ui {
class Image;
}

namespace bevel {

// The game's pixel art is drawn at two points a texel.
constexpr double texel = 2;

ui::Font gameFont(double size = 16);

// The game's shadow: the text colour at a quarter brightness.
ui::Color shadowColorFor(const ui::Color& text);

// One line in the game font, vertically centred in `rect`, with the shadow
// one texel down and right.
void drawGameText(ui::GraphicsContext& context, const std::string& text, const ui::Rect& rect, const ui::Font& font,
                  const ui::Color& color, ui::TextAlignment alignment = ui::TextAlignment::Center);

enum class ButtonLook { Normal, Pressed, Disabled };

// gui.png's button strip for a look, at two points a texel, resizable with
// caps of three texels; null when the game's picture is missing.
std::shared_ptr<ui::Image> buttonPicture(ButtonLook look);
// gui.png's inventory slot, resizable with caps of one texel; may be null.
std::shared_ptr<ui::Image> slotPicture();

// A raised stone piece: the button picture, or flat colours without it.
void drawButtonPiece(ui::GraphicsContext& context, const ui::Rect& rect, ButtonLook look);
// A sunken box: dark rim top and left, light rim bottom and right, filled.
void drawSunkenBox(ui::GraphicsContext& context, const ui::Rect& rect, const ui::Color& fill, bool lit = false);

}  // namespace bevel
