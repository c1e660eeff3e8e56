#include "app/TableScreenBackground.h"

std::shared_ptr<BVLPanorama> addTableScreenBackground(ui::View& root) {
  double W = root.bounds().width();
  double H = root.bounds().height();
  auto panorama = std::make_shared<BVLPanorama>(ui::Rect(0, -64, W, H + 64));
  panorama->setClipsToBounds(true);
  root.insertSubview(panorama, 0);
  auto dimming = std::make_shared<ui::View>(ui::Rect(0, 0, W, H));
  dimming->setBackgroundColor(ui::Color::black());
  dimming->setOpacity(0.5);
  root.insertSubviewAbove(dimming, panorama);
  return panorama;
}
