#pragma once

#include <memory>
#include <string>

#include "ui/SelectableCell.h"

namespace ui {

class ImageView;
class Label;

enum class TableViewCellStyle { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };

// One row of a table. Subclasses add views to the cell itself or to its
// content view; the table sizes the cell to its row before the data source
// fills it, and lays it out again before it shows.
//
// Every style offers the Default layout: an image on the left and one line
// of text. Without a selected-background view a selected or highlighted row
// shows a light grey.
class TableViewCell : public SelectableCell {
 public:
  TableViewCell(TableViewCellStyle style, const std::string& reuseIdentifier);
  ~TableViewCell() override;

  TableViewCellStyle style() const { return style_; }

  // Made on first use; inside the content view.
  std::shared_ptr<ImageView> imageView();
  std::shared_ptr<Label> textLabel();

  // The base shows or hides the selected-background view. Subclasses may
  // refuse a selection by not calling it, or undo it at once.
  virtual void setSelected(bool selected, bool animated);
  void setSelected(bool selected) { setSelected(selected, true); }
  virtual void setHighlighted(bool highlighted, bool animated);

  void layoutSubviews() override;
  void drawOverSubviews(GraphicsContext& context, const Rect& dirty) override;

 private:
  friend class TableView;
  // The table draws row separators through its cells.
  void setSeparator(bool shown, const Color& color, double leftInset);

  TableViewCellStyle style_;
  std::shared_ptr<ImageView> imageView_;
  std::shared_ptr<Label> textLabel_;
  bool separatorShown_ = false;
  Color separatorColor_;
  double separatorInset_ = 15;
};

}  // namespace ui
