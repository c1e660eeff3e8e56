#pragma once

#include <vector>

#include "ui/Geometry.h"

namespace ui {

// One copy of part of a picture: pixels `source` drawn into points `dest`.
struct ImagePiece {
  Rect source;
  Rect dest;
  bool operator==(const ImagePiece&) const = default;
};

// How a resizable picture of `imagePoints` (at `scale` pixels per point)
// with `caps` (points) fills `dest`: corners as they are, edges and middle
// repeated at their natural size from the top-left, the last repeat cut
// short. Caps larger than the destination shrink in proportion.
std::vector<ImagePiece> nineSlicePieces(Size imagePoints, double scale, EdgeInsets caps, const Rect& dest);

}  // namespace ui
