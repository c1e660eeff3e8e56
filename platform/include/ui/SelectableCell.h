#pragma once

#include <memory>
#include <string>

#include "ui/View.h"

namespace ui {

template <class Cell>
class ReuseQueue;

// What a table's rows and a collection view's items share: the identifier
// they are reused under, a content view for the subclass's own views, and
// the background views that show selection.
//
// Back to front a cell holds: its background view, its selected-background
// view while selected or highlighted, the content view, then anything added
// directly. The three layers are kept filling the cell's bounds; what is
// added directly is the subclass's to place.
class SelectableCell : public View {
 public:
  ~SelectableCell() override;

  // Set by the list that made the cell, from the identifier it was
  // registered and dequeued with.
  const std::string& reuseIdentifier() const { return reuseIdentifier_; }
  std::shared_ptr<View> contentView() const { return contentView_; }

  // Null removes it.
  std::shared_ptr<View> backgroundView() const { return backgroundView_; }
  void setBackgroundView(std::shared_ptr<View> view);
  // Shown while the cell is selected or highlighted; null leaves the
  // subclass's default selection colour, if it has one.
  std::shared_ptr<View> selectedBackgroundView() const { return selectedBackgroundView_; }
  void setSelectedBackgroundView(std::shared_ptr<View> view);

  bool isSelected() const { return selected_; }
  bool isHighlighted() const { return highlighted_; }

  // Called when the list hands the cell out again, before its data source
  // fills it: the base clears selection and highlight.
  virtual void prepareForReuse();

  void layoutSubviews() override;

 protected:
  SelectableCell(const Rect& frame, std::string reuseIdentifier);
  // The state behind the subclasses' setSelected and setHighlighted: each
  // shows or hides the selected background as the two together ask.
  void showSelected(bool selected);
  void showHighlighted(bool highlighted);
  // A plain colour shown while selected or highlighted when no
  // selected-background view is set; clear (the default) shows nothing.
  void setDefaultSelectionColor(const Color& color) { defaultSelectionColor_ = color; }

 private:
  template <class Cell>
  friend class ReuseQueue;
  void updateSelectionBackground();

  std::string reuseIdentifier_;
  std::shared_ptr<View> contentView_;
  std::shared_ptr<View> backgroundView_;
  std::shared_ptr<View> selectedBackgroundView_;
  std::shared_ptr<View> defaultSelectedBackground_;
  Color defaultSelectionColor_ = Color::clear();
  bool selected_ = false;
  bool highlighted_ = false;
};

}  // namespace ui
