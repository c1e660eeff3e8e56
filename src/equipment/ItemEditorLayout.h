#pragma once

#include "ui/Geometry.h"

// Where the item editor's widgets lie, as a pure computation from sizes in
// points in the editor's view; the screen builds the widgets and applies the
// frames. The picture stands at the left; beside it, rows from the top: name,
// count, damage, a named item's custom name, slot, id. Each row's caption
// spans the column, with the value and the button over its right part.
class ItemEditorLayout {
 public:
  // The size the id row's texts are measured at: the game font's, and the
  // largest the id field takes.
  static constexpr double measuredFontSize = 16;

  // The id row's caption and the item's name as measured at
  // measuredFontSize, and the id field's text insets.
  struct IdText {
    double captionWidth = 0, nameWidth = 0;
    ui::EdgeInsets insets;
  };
  // A frame is empty where its row has no such widget.
  struct Row {
    ui::Rect caption, value, button;
    bool operator==(const Row&) const = default;
  };
  struct Frames {
    ui::Rect picture;
    Row name, count, damage, customName, slot, id;
    double idFontSize = measuredFontSize;
  };

  // A named item's id field starts after its caption's text and holds the
  // name at the largest size that fits it, from measuredFontSize down to 8
  // points; an early item's number always fits, and `id` goes unused.
  static Frames frames(ui::Size bounds, bool named, const IdText& id);
};
