#include "NineSlice.h"

#include <algorithm>

namespace ui {
namespace {

// Splits one axis into (source start, source length, dest start, dest length)
// spans: the first cap, repeats of the middle, the last cap.
struct Span {
  double source, sourceLength, dest, destLength;
};

std::vector<Span> axisSpans(double imageLength, double capStart, double capEnd, double destStart, double destLength) {
  if (capStart + capEnd > destLength && capStart + capEnd > 0) {
    double k = destLength / (capStart + capEnd);
    std::vector<Span> spans;
    if (capStart > 0) spans.push_back({0, capStart, destStart, capStart * k});
    if (capEnd > 0) spans.push_back({imageLength - capEnd, capEnd, destStart + capStart * k, capEnd * k});
    return spans;
  }
  std::vector<Span> spans;
  if (capStart > 0) spans.push_back({0, capStart, destStart, capStart});
  double middle = imageLength - capStart - capEnd;
  double fill = destLength - capStart - capEnd;
  if (middle > 0) {
    for (double at = 0; at < fill - 1e-9; at += middle) {
      double piece = std::min(middle, fill - at);
      spans.push_back({capStart, piece, destStart + capStart + at, piece});
    }
  }
  if (capEnd > 0) spans.push_back({imageLength - capEnd, capEnd, destStart + destLength - capEnd, capEnd});
  return spans;
}

}  // namespace

std::vector<ImagePiece> nineSlicePieces(Size imagePoints, double scale, EdgeInsets caps, const Rect& dest) {
  auto xs = axisSpans(imagePoints.width, caps.left, caps.right, dest.x(), dest.width());
  auto ys = axisSpans(imagePoints.height, caps.top, caps.bottom, dest.y(), dest.height());
  std::vector<ImagePiece> pieces;
  pieces.reserve(xs.size() * ys.size());
  for (const Span& y : ys) {
    for (const Span& x : xs) {
      pieces.push_back({Rect(x.source * scale, y.source * scale, x.sourceLength * scale, y.sourceLength * scale),
                        Rect(x.dest, y.dest, x.destLength, y.destLength)});
    }
  }
  return pieces;
}

}  // namespace ui
