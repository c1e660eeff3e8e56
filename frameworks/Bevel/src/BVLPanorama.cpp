#include "Bevel/BVLPanorama.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Bevel/BVLImage.h"
#include "GameLook.h"
#include "ui/GraphicsContext.h"
#include "ui/Image.h"
#include "ui/Screen.h"
#include "ui/Timer.h"

namespace {

constexpr int faceCount = 4;
constexpr unsigned allFaces = (1u << faceCount) - 1;

// Points per texel for a view this tall: whole numbers only, so every texel
// stays square and sharp, and at least the kit's usual two.
double pointsPerTexel(double viewHeight, double faceHeight) {
  if (faceHeight <= 0) return bevel::texel;
  return std::max(bevel::texel, std::ceil(viewHeight / faceHeight - 1e-9));
}

// The last whole strip joined, taken by every panorama after it of the same
// pictures and size: each screen has one, and a screen pushed over another
// would otherwise join and scale the four faces again while it appears.
struct WholeStrip {
  std::weak_ptr<ui::Image> face;  // the first face, which names the pictures
  double faceHeight = 0;          // in points
  double scale = 0;
  std::shared_ptr<ui::Image> strip;
};

WholeStrip& lastWholeStrip() {
  static WholeStrip whole;
  return whole;
}

// The first face, which names the pictures, and the size in points every
// face is drawn at in a view this tall; nullopt without the pictures.
struct Faces {
  std::shared_ptr<ui::Image> first;
  double width, height;
};

std::optional<Faces> facesFor(double viewHeight) {
  auto face = bvl_imageNamed("background/panorama_0", "png");
  if (!face) return std::nullopt;
  double k = pointsPerTexel(viewHeight, face->pixelHeight());
  return Faces{face, face->pixelWidth() * k, face->pixelHeight() * k};
}

}  // namespace

BVLPanorama::BVLPanorama(const ui::Rect& frame) : ui::View(frame) { setBackgroundColor(ui::Color::hex(0x79a6ff)); }

BVLPanorama::~BVLPanorama() {
  if (timer_) timer_->invalidate();
  if (completion_) completion_->invalidate();
}

void BVLPanorama::pan() { setShouldPan(true); }

void BVLPanorama::setShouldPan(bool shouldPan) {
  shouldPan_ = shouldPan;
  updateTimer();
}

bool BVLPanorama::isAnimating() const { return timer_ && timer_->isValid(); }

void BVLPanorama::setOffset(double points) {
  double width = stripWidth();
  offset_ = width > 0 ? std::fmod(std::fmod(points, width) + width, width) : 0;
  startOffset_ = offset_;
  startTime_ = ui::currentMediaTime();
  setNeedsDisplay();
}

double BVLPanorama::stripWidth() const {
  // Known without building the strip: four square-ish faces side by side.
  auto faces = facesFor(bounds().height());
  return faces ? faceCount * faces->width : 0;
}

void BVLPanorama::updateTimer() {
  bool wanted = shouldPan_ && window() && !isHidden();
  if (wanted == isAnimating()) return;
  if (!wanted) {
    timer_->invalidate();
    timer_.reset();
    return;
  }
  // The motion is a function of the clock, so a late frame skips ahead
  // rather than slowing the pan down.
  startOffset_ = offset_;
  startTime_ = ui::currentMediaTime();
  std::weak_ptr<ui::View> weakSelf = weak_from_this();
  timer_ = ui::Timer::scheduled(1 / framesPerSecond, true, [weakSelf](ui::Timer&) {
    if (auto self = std::static_pointer_cast<BVLPanorama>(weakSelf.lock())) self->tick();
  });
}

void BVLPanorama::tick() {
  double width = stripWidth();
  if (width <= 0) return;
  double moved = startOffset_ + pointsPerSecond * (ui::currentMediaTime() - startTime_);
  double next = std::fmod(moved, width);
  // Only whole device pixels move the picture; anything less would repaint
  // the same frame.
  double scale = ui::Screen::main().scale();
  if (std::floor(next * scale) == std::floor(offset_ * scale)) return;
  offset_ = next;
  setNeedsDisplay();
}

void BVLPanorama::didMoveToWindow() { updateTimer(); }

void BVLPanorama::layoutSubviews() {
  if (bounds().height() != stripHeightFor_) {
    strip_.reset();
    facesMissing_ = false;
  }
}

bool BVLPanorama::takeLastWholeStrip() {
  auto faces = facesFor(bounds().height());
  if (!faces) return false;
  const WholeStrip& whole = lastWholeStrip();
  if (!whole.strip || whole.face.lock() != faces->first || whole.faceHeight != faces->height ||
      whole.scale != ui::Screen::main().scale()) {
    return false;
  }
  strip_ = whole.strip;
  stripHeightFor_ = bounds().height();
  return true;
}

bool BVLPanorama::prepareStrip() {
  stripHeightFor_ = bounds().height();
  strip_.reset();
  auto faces = facesFor(bounds().height());
  if (!faces) return false;
  std::shared_ptr<ui::Image> pictures[faceCount];
  for (int i = 0; i < faceCount; ++i) {
    pictures[i] = bvl_imageNamed("background/panorama_" + std::to_string(i), "png");
    if (!pictures[i]) return false;
  }
  // Joined and scaled once, in device pixels, opaque: each frame is then a
  // copy of pixels, never a scaling or a blend.
  ui::ImageContext joined(ui::Size{faceCount * faces->width, faces->height}, true, 0);
  for (int i = 0; i < faceCount; ++i) {
    joined.context().drawImage(*pictures[i], ui::Rect(i * faces->width, 0, faces->width, faces->height));
  }
  strip_ = joined.image();
  lastWholeStrip() = {faces->first, faces->height, ui::Screen::main().scale(), strip_};
  return true;
}

double BVLPanorama::stripTop(double stripHeight) const {
  double scale = ui::Screen::main().scale();
  return bounds().y() + std::round((bounds().height() - stripHeight) / 2 * scale) / scale;
}

double BVLPanorama::stripLeft() const {
  // From the offset rounded down to a device pixel.
  double scale = ui::Screen::main().scale();
  return bounds().x() - std::floor(offset_ * scale) / scale;
}

bool BVLPanorama::drawFacesShown(ui::GraphicsContext& context) const {
  auto faces = facesFor(bounds().height());
  if (!faces) return false;
  double left = stripLeft(), top = stripTop(faces->height);
  long first = long(std::floor((bounds().x() - left) / faces->width));
  long last = long(std::ceil((bounds().maxX() - left) / faces->width)) - 1;
  std::vector<std::pair<long, std::shared_ptr<ui::Image>>> shown;
  for (long i = first; i <= last; ++i) {
    // The offset is never negative.
    auto picture = bvl_imageNamed("background/panorama_" + std::to_string(i % faceCount), "png");
    if (!picture) return false;
    shown.emplace_back(i, std::move(picture));
  }
  for (const auto& [i, picture] : shown) {
    context.drawImage(*picture, ui::Rect(left + double(i) * faces->width, top, faces->width, faces->height));
  }
  return true;
}

void BVLPanorama::draw(ui::GraphicsContext& context, const ui::Rect& dirty) {
  // The strip is taller than a short view: what overhangs must not paint
  // over the views around it.
  context.save();
  context.clipToRect(bounds());
  bool stale = !strip_ || bounds().height() != stripHeightFor_;
  if (stale && !facesMissing_ && !takeLastWholeStrip()) {
    // Until the strip is joined, on the next turn of the event loop, the
    // faces shown are drawn straight from their pictures: the first frame
    // neither waits for the faces it does not show nor fills a strip's
    // worth of fresh memory. A face missing leaves the sky colour of the
    // background.
    if (drawFacesShown(context) && !(completion_ && completion_->isValid())) {
      std::weak_ptr<ui::View> weakSelf = weak_from_this();
      completion_ = ui::Timer::scheduled(0, false, [weakSelf](ui::Timer&) {
        auto self = std::static_pointer_cast<BVLPanorama>(weakSelf.lock());
        if (!self) return;
        self->facesMissing_ = !self->prepareStrip();
        self->setNeedsDisplay();
      });
    }
    context.restore();
    return;
  }
  if (!strip_) {  // the sky colour of the background stands in
    context.restore();
    return;
  }
  ui::Size size = strip_->size();
  double top = stripTop(size.height);
  ui::Rect visible = dirty.intersection(bounds());
  for (double x = stripLeft(); x < bounds().maxX(); x += size.width) {
    ui::Rect copy(x, top, size.width, size.height);
    if (!copy.intersection(visible).isEmpty()) context.drawImage(*strip_, copy);
  }
  context.restore();
}
