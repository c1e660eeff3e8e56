#include "Bevel/BVLSegmentedControl.h"

#include <cmath>

#include "GameLook.h"
#include "ui/GraphicsContext.h"

BVLSegmentedControl::BVLSegmentedControl(const ui::Rect& frame, std::vector<std::string> segments, Callback callback)
    : ui::Control(frame), segments_(std::move(segments)), callback_(std::move(callback)) {}

void BVLSegmentedControl::setSelectedSegmentIndex(long index) {
  long inRange = index >= 0 && index < long(segments_.size()) ? index : noSegment;
  if (inRange == selected_) return;
  selected_ = inRange;
  setNeedsDisplay();
}

std::vector<ui::Rect> BVLSegmentedControl::segmentFrames() const {
  std::vector<ui::Rect> frames;
  ui::Rect b = bounds();
  long count = long(segments_.size());
  if (count == 0) return frames;
  double width = std::floor(b.width() / count / bevel::texel) * bevel::texel;
  for (long i = 0; i < count; ++i) {
    double x = b.x() + i * width;
    frames.emplace_back(x, b.y(), i == count - 1 ? b.maxX() - x : width, b.height());
  }
  return frames;
}

long BVLSegmentedControl::segmentAt(ui::Point point) const {
  auto frames = segmentFrames();
  for (size_t i = 0; i < frames.size(); ++i) {
    if (frames[i].contains(point)) return long(i);
  }
  return noSegment;
}

void BVLSegmentedControl::beginTracking(const ui::Touch& touch) {
  pressed_ = segmentAt(touch.location(*this));
  setNeedsDisplay();
}

void BVLSegmentedControl::continueTracking(const ui::Touch& touch) {
  long under = segmentAt(touch.location(*this));
  if (under != pressed_) {
    pressed_ = under;
    setNeedsDisplay();
  }
}

void BVLSegmentedControl::endTracking(const ui::Touch& touch, bool) {
  long chosen = segmentAt(touch.location(*this));
  pressed_ = noSegment;
  setNeedsDisplay();
  if (chosen == noSegment || chosen == selected_) return;
  selected_ = chosen;
  auto callback = callback_;
  if (callback) callback(*this, chosen);
}

void BVLSegmentedControl::draw(ui::GraphicsContext& context, const ui::Rect&) {
  using bevel::ButtonLook;
  auto frames = segmentFrames();
  for (size_t i = 0; i < frames.size(); ++i) {
    long index = long(i);
    bool down = index == selected_ || index == pressed_;
    ButtonLook look = !isEnabled() ? ButtonLook::Disabled : down ? ButtonLook::Pressed : ButtonLook::Normal;
    bevel::drawButtonPiece(context, frames[i], look);
    ui::Rect face(frames[i].x(), frames[i].y(), frames[i].width(), frames[i].height() - bevel::texel);
    unsigned color = look == ButtonLook::Disabled ? 0xa0a0a0 : index == selected_ ? 0xffffa0 : 0xe0e0e0;
    context.save();
    context.clipToRect(frames[i]);
    // A title wider than its segment is drawn at half size, still whole
    // texels, rather than cut off.
    ui::Font font = bevel::gameFont();
    if (font.measure(segments_[i]).width > face.width() - 2 * bevel::texel) font = bevel::gameFont(8);
    bevel::drawGameText(context, segments_[i], face, font, ui::Color::hex(color));
    context.restore();
  }
}
