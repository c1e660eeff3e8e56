#pragma once

#include <memory>

#include "ui/View.h"

namespace ui {
class Image;
class Timer;
}  // namespace ui

// The game's panorama: its four cube-face pictures joined into one wide
// strip, drawn at a whole number of points per texel (at least two) and
// centred vertically, moving slowly sideways and wrapping without a seam.
//
// The strip is scaled once to device pixels, so a frame is two plain copies.
// A timer runs only while panning is wanted and the view is in a window and
// not hidden; otherwise the panorama costs nothing.
class BVLPanorama : public ui::View {
 public:
  static constexpr double pointsPerSecond = 10;
  static constexpr double framesPerSecond = 30;

  explicit BVLPanorama(const ui::Rect& frame);
  ~BVLPanorama() override;

  // Starts or resumes the movement from where it stopped.
  void pan();
  // false stops the movement (the picture stays where it is); true is pan().
  void setShouldPan(bool shouldPan);
  bool shouldPan() const { return shouldPan_; }
  // Whether a timer is running right now.
  bool isAnimating() const;

  // How far the strip has moved, in points, 0 <= offset < stripWidth().
  double offset() const { return offset_; }
  void setOffset(double points);
  // Width of the joined strip at the current size, in points; 0 without
  // the pictures.
  double stripWidth() const;

  void draw(ui::GraphicsContext& context, const ui::Rect& dirty) override;
  void didMoveToWindow() override;
  void layoutSubviews() override;

 private:
  void updateTimer();
  void tick();
  // Joins and scales all four faces into the strip, taking the last whole
  // strip joined when it fits. False when a picture is missing.
  bool prepareStrip();
  bool takeLastWholeStrip();
  // Draws the faces the view shows at the current offset straight from
  // their pictures; false, drawing nothing, when one is missing.
  bool drawFacesShown(ui::GraphicsContext& context) const;
  // Where the strip's left edge and top are drawn, in the view's
  // coordinates.
  double stripLeft() const;
  double stripTop(double stripHeight) const;

  bool shouldPan_ = false;
  double offset_ = 0;
  double startOffset_ = 0;
  double startTime_ = 0;
  std::shared_ptr<ui::Timer> timer_;
  std::shared_ptr<ui::Timer> completion_;  // joins the strip after a frame drawn without it
  std::shared_ptr<ui::Image> strip_;
  double stripHeightFor_ = -1;  // the bounds height the strip was made for
  bool facesMissing_ = false;   // the strip could not be made at this height
};
