#include "ui/Geometry.h"

#include <algorithm>

namespace ui {

Rect Rect::intersection(const Rect& other) const {
  double x0 = std::max(x(), other.x());
  double y0 = std::max(y(), other.y());
  double x1 = std::min(maxX(), other.maxX());
  double y1 = std::min(maxY(), other.maxY());
  if (x1 <= x0 || y1 <= y0) return Rect();
  return Rect(x0, y0, x1 - x0, y1 - y0);
}

}  // namespace ui
