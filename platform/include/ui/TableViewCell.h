#pragma once

#include <memory>
#include <string>

#include "ui/View.h"

namespace ui {

class ImageView;
class Label;

enum class TableViewCellStyle { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };

// One row of a table. Subclasses add views to the cell itself or to its
// content view; the table sizes the cell to its row before the data source
// fills it, and lays it out again before it shows.
//
// Back to front a cell holds: its background view, its selected-background
// view while selected or highlighted, the content view, then anything added
// directly. Every style offers the Default layout: an image on the left and
// one line of text.
class TableViewCell : public View {
 public:
  TableViewCell(TableViewCellStyle style, const std::string& reuseIdentifier);
  ~TableViewCell() override;

  TableViewCellStyle style() const { return style_; }
  const std::string& reuseIdentifier() const { return reuseIdentifier_; }

  // Made on first use; inside the content view.
  std::shared_ptr<ImageView> imageView();
  std::shared_ptr<Label> textLabel();
  std::shared_ptr<View> contentView() const { return contentView_; }

  // Kept filling the cell's bounds. Null removes it.
  std::shared_ptr<View> backgroundView() const { return backgroundView_; }
  void setBackgroundView(std::shared_ptr<View> view);
  // Shown while the cell is selected or highlighted; without one the cell
  // shows a light grey.
  std::shared_ptr<View> selectedBackgroundView() const { return selectedBackgroundView_; }
  void setSelectedBackgroundView(std::shared_ptr<View> view);

  bool isSelected() const { return selected_; }
  bool isHighlighted() const { return highlighted_; }
  // The base shows or hides the selected-background view. Subclasses may
  // refuse a selection by not calling it, or undo it at once.
  virtual void setSelected(bool selected, bool animated);
  void setSelected(bool selected) { setSelected(selected, true); }
  virtual void setHighlighted(bool highlighted, bool animated);

  // Called when the table hands the cell out again, before the data source
  // fills it: the base clears selection and highlight.
  virtual void prepareForReuse();

  void layoutSubviews() override;
  void drawOverSubviews(GraphicsContext& context, const Rect& dirty) override;

 private:
  friend class TableView;
  void updateSelectionBackground();
  // The table draws row separators through its cells.
  void setSeparator(bool shown, const Color& color, double leftInset);

  TableViewCellStyle style_;
  std::string reuseIdentifier_;
  std::shared_ptr<View> contentView_;
  std::shared_ptr<ImageView> imageView_;
  std::shared_ptr<Label> textLabel_;
  std::shared_ptr<View> backgroundView_;
  std::shared_ptr<View> selectedBackgroundView_;
  std::shared_ptr<View> defaultSelectedBackground_;
  bool selected_ = false;
  bool highlighted_ = false;
  bool separatorShown_ = false;
  Color separatorColor_;
  double separatorInset_ = 15;
};

}  // namespace ui
