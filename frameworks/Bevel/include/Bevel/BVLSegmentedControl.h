#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

// A row of game buttons of equal width, one of them pressed in: the chosen
// segment. An index outside the segments (including -1) chooses none.
//
// `callback` runs with the new index when the user taps a segment other than
// the chosen one; setSelectedSegmentIndex never runs it.
class BVLSegmentedControl : public ui::Control {
 public:
  using Callback = std::function<void(BVLSegmentedControl&, long)>;
  static constexpr long noSegment = -1;

  BVLSegmentedControl(const ui::Rect& frame, std::vector<std::string> segments, Callback callback);

  const std::vector<std::string>& segments() const { return segments_; }
  long selectedSegmentIndex() const { return selected_; }
  void setSelectedSegmentIndex(long index);

  // Each segment's frame in bounds coordinates, edges on whole texels, the
  // last one taking what is left; segmentAt is the segment under a point's
  // x, or noSegment outside the bounds.
  std::vector<ui::Rect> segmentFrames() const;
  long segmentAt(ui::Point point) const;

  void draw(ui::GraphicsContext& context, const ui::Rect& dirty) override;

 protected:
  void beginTracking(const ui::Touch& touch) override;
  void continueTracking(const ui::Touch& touch) override;
  void endTracking(const ui::Touch& touch, bool inside) override;

 private:
  std::vector<std::string> segments_;
  Callback callback_;
  long selected_ = noSegment;
  long pressed_ = noSegment;
};
