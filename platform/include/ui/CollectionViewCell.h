#pragma once

#include <memory>
#include <string>

#include "ui/View.h"

namespace ui {

// One item of a collection view, made with its item's frame. Subclasses add
// views to the cell or to its content view. Back to front: background view,
// selected-background view while selected or highlighted, content view, then
// anything added directly.
class CollectionViewCell : public View {
 public:
  explicit CollectionViewCell(const Rect& frame = {});
  ~CollectionViewCell() override;

  const std::string& reuseIdentifier() const { return reuseIdentifier_; }
  std::shared_ptr<View> contentView() const { return contentView_; }

  // Kept filling the cell's bounds. Null removes it.
  std::shared_ptr<View> backgroundView() const { return backgroundView_; }
  void setBackgroundView(std::shared_ptr<View> view);
  std::shared_ptr<View> selectedBackgroundView() const { return selectedBackgroundView_; }
  void setSelectedBackgroundView(std::shared_ptr<View> view);

  bool isSelected() const { return selected_; }
  virtual void setSelected(bool selected);
  bool isHighlighted() const { return highlighted_; }
  virtual void setHighlighted(bool highlighted);

  // Before the collection view hands the cell out again: clears selection
  // and highlight.
  virtual void prepareForReuse();

  void layoutSubviews() override;

 private:
  friend class CollectionView;
  void updateSelectionBackground();

  std::string reuseIdentifier_;
  std::shared_ptr<View> contentView_;
  std::shared_ptr<View> backgroundView_;
  std::shared_ptr<View> selectedBackgroundView_;
  bool selected_ = false;
  bool highlighted_ = false;
};

}  // namespace ui
