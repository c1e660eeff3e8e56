#include "GameLook.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "Bevel/BVLImage.h"
#include "ui/Image.h"

namespace bevel {

ui::Font gameFont(double size) { return ui::Font::named("Minecraft", size); }

ui::Color shadowColorFor(const ui::Color& text) {
  return ui::Color::rgba(text.red / 4, text.green / 4, text.blue / 4, text.alpha);
}

void drawGameText(ui::GraphicsContext& context, const std::string& text, const ui::Rect& rect, const ui::Font& font,
                  const ui::Color& color, ui::TextAlignment alignment) {
  if (text.empty()) return;
  double height = font.measure(text).height;
  // Whole points keep the font's texels on whole pixels.
  double y = std::round(rect.y() + (rect.height() - height) / 2);
  double shadow = std::max(1.0, std::round(font.size / 8));
  ui::Rect line(rect.x(), y, rect.width(), height);
  context.drawText(text, line.offsetBy(shadow, shadow), font, shadowColorFor(color), alignment);
  context.drawText(text, line, font, color, alignment);
}

namespace {

// Pieces are cut afresh when the bundle changes (tests switch bundles).
std::shared_ptr<ui::Image> cachedPiece(const std::string& key, const ui::Rect& cut, ui::Size points,
                                       ui::EdgeInsets caps) {
  static std::map<std::string, std::pair<std::string, std::shared_ptr<ui::Image>>> cache;
  std::string bundle = bvl_gameBundlePath();
  auto found = cache.find(key);
  if (found != cache.end() && found->second.first == bundle && found->second.second) return found->second.second;
  auto piece = bvl_resize(bvl_subImageWithFrame(bvl_imageNamed("gui", "png"), cut), points);
  auto resizable = piece ? piece->resizable(caps) : nullptr;
  cache[key] = {bundle, resizable};
  return resizable;
}

}  // namespace

std::shared_ptr<ui::Image> buttonPicture(ButtonLook look) {
  // The strips lie 200 x 20 texels, one above the other, as the game keeps them.
  double y = look == ButtonLook::Disabled ? 46 : look == ButtonLook::Normal ? 66 : 86;
  const char* key = look == ButtonLook::Disabled ? "button-disabled"
                    : look == ButtonLook::Normal ? "button"
                                                 : "button-pressed";
  double cap = 3 * texel;
  return cachedPiece(key, ui::Rect(0, y, 200, 20), ui::Size{200 * texel, 20 * texel}, {cap, cap, cap, cap});
}

std::shared_ptr<ui::Image> slotPicture() {
  return cachedPiece("slot", ui::Rect(200, 46, 16, 16), ui::Size{16 * texel, 16 * texel}, {texel, texel, texel, texel});
}

void drawButtonPiece(ui::GraphicsContext& context, const ui::Rect& rect, ButtonLook look) {
  if (auto picture = buttonPicture(look)) {
    context.drawImage(*picture, rect);
    return;
  }
  unsigned face = look == ButtonLook::Pressed ? 0x7b86c2 : look == ButtonLook::Disabled ? 0x2c2c2c : 0x6f6f6f;
  context.fillRect(rect, ui::Color::black());
  context.fillRect(ui::insetRect(rect, {texel, texel, texel, texel}), ui::Color::hex(face));
}

void drawSunkenBox(ui::GraphicsContext& context, const ui::Rect& rect, const ui::Color& fill, bool lit) {
  const double t = texel;
  context.fillRect(rect, ui::Color::hex(lit ? 0xffffff : 0xe0e0e0));
  context.fillRect(ui::Rect(rect.x(), rect.y(), rect.width() - t, rect.height() - t), ui::Color::hex(0x373737));
  context.fillRect(ui::insetRect(rect, {t, t, t, t}), lit ? ui::Color::hex(0xa0a0a0) : ui::Color::hex(0x000000));
  context.fillRect(ui::insetRect(rect, {2 * t, 2 * t, 2 * t, 2 * t}), fill);
}

}  // namespace bevel
