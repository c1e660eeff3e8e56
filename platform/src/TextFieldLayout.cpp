#include "TextFieldLayout.h"

#include <algorithm>
#include <cmath>

namespace ui {

TextFieldLayout TextFieldLayout::of(const Input& in) {
  TextFieldLayout layout;
  Rect area = insetRect(in.bounds, in.insets);
  layout.textArea = area;
  bool overflows = in.textWidth + caretWidth > area.width();
  double scroll = 0;
  if (in.editing && overflows) {
    // Keep the caret in view, and never leave empty space after the text.
    scroll = in.scrollX;
    if (in.caretX - scroll > area.width() - caretWidth) scroll = in.caretX - area.width() + caretWidth;
    if (in.caretX - scroll < 0) scroll = in.caretX;
    scroll = std::clamp(scroll, 0.0, in.textWidth + caretWidth - area.width());
  }
  layout.scrollX = scroll;
  // Aligned while the line fits; a longer line starts at the area's left
  // edge, less the scroll.
  double x = area.x() - scroll;
  if (!overflows && in.alignment == TextAlignment::Center) x = area.x() + (area.width() - in.textWidth) / 2;
  if (!overflows && in.alignment == TextAlignment::Right) x = area.maxX() - in.textWidth - caretWidth;
  double y = area.y() + (area.height() - in.lineHeight) / 2;
  layout.textOrigin = Point{x, y};
  layout.caret = Rect(std::min(x + in.caretX, area.maxX() - caretWidth), y, caretWidth, in.lineHeight);
  return layout;
}

int TextFieldLayout::indexAt(Point point, const std::vector<CaretStop>& stops) const {
  int best = 0;
  double bestDistance = INFINITY;
  for (const auto& stop : stops) {
    double distance = std::abs(textOrigin.x + stop.x - point.x);
    if (distance < bestDistance) {
      best = stop.index;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace ui
