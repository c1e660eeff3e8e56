#pragma once

#include <memory>
#include <string>

#include "ui/SelectableCell.h"

namespace ui {

// One item of a collection view, made with its item's frame. Subclasses add
// views to the cell or to its content view. Without a selected-background
// view a selected item looks as it did.
class CollectionViewCell : public SelectableCell {
 public:
  explicit CollectionViewCell(const Rect& frame = {});
  ~CollectionViewCell() override;

  // The base shows or hides the selected-background view.
  virtual void setSelected(bool selected);
  virtual void setHighlighted(bool highlighted);
};

}  // namespace ui
