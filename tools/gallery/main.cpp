// gallery <source tree> <picture.png>: every control of the widget kit in
// both of its states, over the panorama, as the screens show them, drawn at
// twice the size (the README's docs/gallery.png).
#include <cstdio>
#include <string>

#include "Bevel/BVLButton.h"
#include "Bevel/BVLImage.h"
#include "Bevel/BVLItemView.h"
#include "Bevel/BVLLabel.h"
#include "Bevel/BVLPanorama.h"
#include "Bevel/BVLSegmentedControl.h"
#include "Bevel/BVLSlider.h"
#include "Bevel/BVLSwitch.h"
#include "Bevel/BVLTextField.h"
#include "ui/Font.h"
#include "ui/ImageView.h"
#include "ui/TestDriver.h"
#include "ui/Window.h"

namespace {

class HeldButton : public BVLButton {
 public:
  using BVLButton::BVLButton;
  void hold() { setHighlighted(true); }
};

template <typename T, typename... Args>
std::shared_ptr<T> add(ui::View& parent, Args&&... args) {
  auto view = std::make_shared<T>(std::forward<Args>(args)...);
  parent.addSubview(view);
  return view;
}

std::shared_ptr<BVLLabel> label(ui::View& parent, double x, double y, const std::string& text, int style = 0) {
  ui::Size size = ui::Font::named("Minecraft", 16).measure(text);
  auto view = add<BVLLabel>(parent, ui::Rect(x, y, size.width + 4, size.height + 4));
  view->setStyle(style);
  view->setText(text);
  return view;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <source tree> <picture.png>\n", argv[0]);
    return 2;
  }
  ui::TestDriver driver;
  std::string bundle = std::string(argv[1]) + "/demo/app";
  bvl_setGameBundlePath(bundle);
  (void)GSFontAddFromFile((bundle + "/minecraft.ttf").c_str());
  auto window = std::make_shared<ui::Window>(ui::Rect(0, 0, 568, 320));
  ui::View& root = *window;
  auto panorama = add<BVLPanorama>(root, ui::Rect(0, 0, 568, 320));
  panorama->setOffset(300);
  auto dim = add<ui::View>(root, ui::Rect(0, 0, 568, 320));
  dim->setBackgroundColor(ui::Color::black());
  dim->setOpacity(0.5);

  // Left column: the world list's panel with a normal and a chosen row.
  auto sheet = bvl_imageNamed("spritesheet", "png");
  auto panel = bvl_resize(bvl_subImageWithFrame(sheet, {34, 43, 14, 14}), {28, 28});
  add<ui::ImageView>(root, ui::Rect(8, 8, 272, 130), panel->resizable({6, 6, 6, 6}));
  const char* rowTiles[2] = {"normal", "chosen"};
  for (int i = 0; i < 2; ++i) {
    auto tile = bvl_resize(bvl_subImageWithFrame(sheet, {i == 0 ? 8.0 : 0.0, 32, 8, 8}), {16, 16});
    double y = 16 + i * 58;
    add<ui::ImageView>(root, ui::Rect(16, y, 256, 54), tile->resizable({4, 4, 4, 4}));
    label(root, 26, y + 6, i == 0 ? "My World" : "Skyblock", BVLLabel::HeaderStyle);
    label(root, 26, y + 28, i == 0 ? "Creative" : "Survival", BVLLabel::DetailStyle);
    label(root, 196, y + 6, rowTiles[i], BVLLabel::DetailStyle);
  }

  // Buttons: normal, pressed, disabled, and the options icon.
  add<BVLButton>(root, ui::Rect(8, 146, 130, 40), nullptr)->setTitle("Edit...", ui::ControlState::Normal);
  auto held = add<HeldButton>(root, ui::Rect(146, 146, 134, 40), nullptr);
  held->setTitle("Pressed", ui::ControlState::Normal);
  held->hold();
  auto disabled = add<BVLButton>(root, ui::Rect(8, 192, 130, 40), nullptr);
  disabled->setTitle("Disabled", ui::ControlState::Normal);
  disabled->setEnabled(false);
  auto options = add<BVLButton>(root, ui::Rect(146, 192, 48, 48), nullptr);
  options->setImage(bvl_resize(bvl_subImageWithFrame(bvl_imageNamed("touchgui", "png"), {219, 0, 20, 20}), {40, 40}),
                    ui::ControlState::Normal);

  // Inventory slots with items in them.
  auto slot = bvl_resize(bvl_subImageWithFrame(bvl_imageNamed("gui", "png"), {200, 46, 16, 16}), {40, 40});
  const uint16_t items[][2] = {{276, 0}, {311, 0}, {2, 0}, {260, 0}, {351, 4}, {46, 0}};
  for (int i = 0; i < 6; ++i) {
    double x = 8 + i * 45, y = 246;
    add<ui::ImageView>(root, ui::Rect(x, y, 40, 40), slot);
    add<BVLItemView>(root, ui::Rect(x + 4, y + 4, 32, 32), items[i][0], items[i][1]);
  }
  label(root, 8, 294, "v1.0.5");

  // Right column: the value widgets, off and on.
  double x = 296;
  label(root, x, 8, "Switches", BVLLabel::HeaderStyle);
  add<BVLSwitch>(root, ui::Rect(x, 30, 76, 38), nullptr);
  add<BVLSwitch>(root, ui::Rect(x + 86, 30, 76, 38), nullptr)->setOn(true);
  label(root, x, 76, "Choices", BVLLabel::HeaderStyle);
  add<BVLSegmentedControl>(root, ui::Rect(x, 98, 264, 36), std::vector<std::string>{"Survival", "Creative"}, nullptr);
  add<BVLSegmentedControl>(root, ui::Rect(x, 138, 264, 36), std::vector<std::string>{"Easy", "Normal", "Hard"}, nullptr)
      ->setSelectedSegmentIndex(1);
  label(root, x, 180, "Sliders", BVLLabel::HeaderStyle);
  add<BVLSlider>(root, ui::Rect(x, 200, 126, 36), 0, nullptr)->setPosition(0.2f);
  add<BVLSlider>(root, ui::Rect(x + 138, 200, 126, 36), 5, nullptr)->setPosition(0.75f);
  add<BVLTextField>(root, ui::Rect(x, 244, 126, 36), nullptr);
  auto name = add<BVLTextField>(root, ui::Rect(x + 138, 244, 126, 36), nullptr);
  name->setText("Steve");
  label(root, x, 290, "Text: idle / editing", BVLLabel::DetailStyle);

  window->makeKeyAndVisible();
  driver.tap(*name);  // the second field shows its editing look
  driver.runUntilIdle();
  if (!driver.renderToPNG(*window, argv[2], 2)) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
