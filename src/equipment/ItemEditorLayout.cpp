#include "equipment/ItemEditorLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double top = 84;  // below the status and navigation bars
constexpr double margin = 20;
// A named item has one row more; its rows are closer.
constexpr double rowHeight = 36, namedRowHeight = 32;
constexpr double rowGap = 10, namedRowGap = 6;
// A named item's longer captions ("Custom Name:") and values ("1841 / 2031")
// take room from its picture.
constexpr double pictureMargin = 104, namedPictureMargin = 160;
constexpr double valueLeft = 220, namedValueLeft = 250;
constexpr double buttonInset = 15, buttonWidth = 75;
constexpr double wideButtonWidth = 135;  // "Enchant (3)" beside a named item's slot
constexpr double slotWidth = 60;
constexpr double columnGap = 10;          // between a field and its button
constexpr double smallestIdFontSize = 8;  // the grid's counts

}  // namespace

ItemEditorLayout::Frames ItemEditorLayout::frames(ui::Size bounds, bool named, const IdText& id) {
  double width = bounds.width;
  double height = named ? namedRowHeight : rowHeight;
  double side = bounds.height - (named ? namedPictureMargin : pictureMargin);
  double captionX = side + margin + margin;
  double valueX = width - (named ? namedValueLeft : valueLeft);
  double buttonsEnd = width - buttonInset;
  double buttonX = buttonsEnd - buttonWidth, fieldEnd = buttonX - columnGap;
  double y = top;
  auto from = [&](double x, double end) { return ui::Rect(x, y, end - x, height); };
  auto row = [&](ui::Rect value, ui::Rect button = {}) {
    Row made{from(captionX, width - margin), value, button};
    y += height + (named ? namedRowGap : rowGap);
    return made;
  };

  Frames frames{.picture = ui::Rect(margin, top, side, side)};
  frames.name = row(from(valueX, width - margin));
  frames.count = row(from(valueX, fieldEnd), from(buttonX, buttonsEnd));
  frames.damage = row(from(valueX, fieldEnd), from(buttonX, buttonsEnd));
  if (named) {
    frames.customName = row(from(valueX + margin, buttonsEnd));  // past the long caption
    frames.slot = row(ui::Rect(valueX, y, slotWidth, height), from(buttonsEnd - wideButtonWidth, buttonsEnd));
  } else {
    frames.slot = row(from(valueX, width - margin));
  }
  // A name is far longer than a number: its field takes the row from the
  // caption's text to the button.
  double idX = named ? captionX + id.captionWidth + columnGap : valueX;
  frames.id = row(from(idX, fieldEnd), from(buttonX, buttonsEnd));
  double room = fieldEnd - idX - id.insets.left - id.insets.right;
  if (named && id.nameWidth > room) {
    frames.idFontSize = std::max(smallestIdFontSize, std::floor(measuredFontSize * room / id.nameWidth));
  }
  return frames;
}
