#include "Bevel/BVLPanorama.h"

#include <algorithm>
#include <cmath>
#include <string>

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
  auto face = bvl_imageNamed("background/panorama_0", "png");
  if (!face) return 0;
  double k = pointsPerTexel(bounds().height(), face->pixelHeight());
  return faceCount * face->pixelWidth() * k;
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
    facesInStrip_ = 0;
    facesMissing_ = false;
  }
}

unsigned BVLPanorama::facesShown() const {
  double faceWidth = stripWidth() / faceCount;
  if (faceWidth <= 0) return allFaces;
  // The strip points draw() copies: from the offset rounded down to a
  // device pixel, one view's width.
  double scale = ui::Screen::main().scale();
  double start = std::floor(offset_ * scale) / scale;
  long first = long(std::floor(start / faceWidth));
  long last = long(std::ceil((start + bounds().width()) / faceWidth)) - 1;
  if (last - first + 1 >= faceCount) return allFaces;
  unsigned faces = 0;
  for (long i = first; i <= last; ++i) faces |= 1u << unsigned(i % faceCount);  // the offset is never negative
  return faces;
}

bool BVLPanorama::prepareStrip(unsigned faces) {
  stripHeightFor_ = bounds().height();
  strip_.reset();
  facesInStrip_ = 0;
  auto face = bvl_imageNamed("background/panorama_0", "png");
  if (!face) return false;
  double k = pointsPerTexel(bounds().height(), face->pixelHeight());
  double faceWidth = face->pixelWidth() * k;
  double faceHeight = face->pixelHeight() * k;
  double scale = ui::Screen::main().scale();
  WholeStrip& whole = lastWholeStrip();
  if (whole.strip && whole.face.lock() == face && whole.faceHeight == faceHeight && whole.scale == scale) {
    strip_ = whole.strip;
    facesInStrip_ = allFaces;
    return true;
  }
  std::shared_ptr<ui::Image> pictures[faceCount];
  for (int i = 0; i < faceCount; ++i) {
    if (!(faces & (1u << i))) continue;
    pictures[i] = bvl_imageNamed("background/panorama_" + std::to_string(i), "png");
    if (!pictures[i]) return false;
  }
  // Without the last face, the strip ends after the last face it holds: the
  // view, which starts inside it, ends inside it too, and a first frame
  // clears no more memory than it shows.
  int span = faceCount;
  if (!(faces & (1u << (faceCount - 1)))) {
    while (span > 1 && !(faces & (1u << (span - 1)))) --span;
  }
  // Joined and scaled once, in device pixels, opaque: each frame is then a
  // copy of pixels, never a scaling or a blend.
  ui::ImageContext joined(ui::Size{span * faceWidth, faceHeight}, true, 0);
  for (int i = 0; i < span; ++i) {
    if (pictures[i]) joined.context().drawImage(*pictures[i], ui::Rect(i * faceWidth, 0, faceWidth, faceHeight));
  }
  strip_ = joined.image();
  facesInStrip_ = faces;
  if (faces == allFaces) whole = {face, faceHeight, scale, strip_};
  return true;
}

void BVLPanorama::draw(ui::GraphicsContext& context, const ui::Rect& dirty) {
  bool stale = !strip_ || bounds().height() != stripHeightFor_;
  if (stale || (facesShown() & ~facesInStrip_)) {
    // The first frame waits only for the faces it shows; the rest are
    // decoded and joined on the next turn of the event loop, long before
    // the pan can bring them into view.
    unsigned faces = stale && !facesMissing_ ? facesShown() : allFaces;
    bool made = prepareStrip(faces);
    if (faces == allFaces) facesMissing_ = !made;
    if (made && facesInStrip_ != allFaces) {
      if (completion_) completion_->invalidate();
      std::weak_ptr<ui::View> weakSelf = weak_from_this();
      completion_ = ui::Timer::scheduled(0, false, [weakSelf](ui::Timer&) {
        auto self = std::static_pointer_cast<BVLPanorama>(weakSelf.lock());
        if (!self || !self->strip_ || self->facesInStrip_ == allFaces) return;
        // A face missing now leaves the sky colour, as if it had been
        // missing from the start.
        self->facesMissing_ = !self->prepareStrip(allFaces);
        self->setNeedsDisplay();
      });
    }
  }
  if (!strip_) return;  // the sky colour of the background stands in
  ui::Size size = strip_->size();
  double scale = ui::Screen::main().scale();
  double x = -std::floor(offset_ * scale) / scale;
  double y = std::round((bounds().height() - size.height) / 2 * scale) / scale;
  ui::Rect visible = dirty.intersection(bounds());
  // The strip is taller than a short view: what overhangs must not paint
  // over the views around it.
  context.save();
  context.clipToRect(bounds());
  for (; x < bounds().maxX(); x += size.width) {
    ui::Rect copy(bounds().x() + x, bounds().y() + y, size.width, size.height);
    if (!copy.intersection(visible).isEmpty()) context.drawImage(*strip_, copy);
  }
  context.restore();
}
