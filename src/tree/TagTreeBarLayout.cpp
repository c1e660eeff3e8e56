#include "tree/TagTreeBarLayout.h"

#include <algorithm>

namespace {

constexpr double margin = 8;
constexpr double top = 4;
constexpr double height = 32;
constexpr double buttonWidth = 100;
constexpr double buttonGap = 4;
constexpr double gap = 6;
constexpr double typeWidth = 120;
constexpr double smallestField = 80;

}  // namespace

TagTreeBarLayout::Screen TagTreeBarLayout::screen(ui::Size bounds) {
  return {
      .bar = ui::Rect(0, 0, bounds.width, barHeight),
      .table = ui::Rect(0, barHeight, bounds.width, bounds.height - barHeight),
  };
}

TagTreeBarLayout::Toolbar TagTreeBarLayout::toolbar(double width) {
  double buttonsX = width - margin - 3 * buttonWidth - 2 * buttonGap;
  auto button = [&](int at) { return ui::Rect(buttonsX + at * (buttonWidth + buttonGap), top, buttonWidth, height); };
  return {
      .search = ui::Rect(margin, top, buttonsX - buttonGap - margin, height),
      .add = button(0),
      .rename = button(1),
      .remove = button(2),
  };
}

TagTreeBarLayout::Prompt TagTreeBarLayout::prompt(double width, double labelTextWidth, bool withType, bool withField) {
  double buttonsX = width - margin - 2 * buttonWidth - buttonGap;
  double room = buttonsX - gap - margin - (withType ? typeWidth + gap : 0) - (withField ? smallestField + gap : 0);
  // At most 35% of the bar, so that a long name leaves room to type.
  double labelWidth = std::max(0.0, std::min({labelTextWidth + 4, width * 7 / 20, room}));
  double typeX = margin + labelWidth + gap;
  double fieldX = typeX + (withType ? typeWidth + gap : 0);
  return {
      .label = ui::Rect(margin, top, labelWidth, height),
      .type = withType ? ui::Rect(typeX, top, typeWidth, height) : ui::Rect(),
      .field = withField ? ui::Rect(fieldX, top, buttonsX - gap - fieldX, height) : ui::Rect(),
      .ok = ui::Rect(buttonsX, top, buttonWidth, height),
      .cancel = ui::Rect(buttonsX + buttonWidth + buttonGap, top, buttonWidth, height),
  };
}
