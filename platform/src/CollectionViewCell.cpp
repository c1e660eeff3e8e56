#include "ui/CollectionViewCell.h"

namespace ui {

CollectionViewCell::CollectionViewCell(const Rect& frame) : View(frame) {
  contentView_ = std::make_shared<View>(bounds());
  addSubview(contentView_);
}

CollectionViewCell::~CollectionViewCell() = default;

void CollectionViewCell::setBackgroundView(std::shared_ptr<View> view) {
  if (view == backgroundView_) return;
  if (backgroundView_ && backgroundView_->superview().get() == this) backgroundView_->removeFromSuperview();
  backgroundView_ = std::move(view);
  if (!backgroundView_) return;
  backgroundView_->setFrame(bounds());
  insertSubview(backgroundView_, 0);
}

void CollectionViewCell::setSelectedBackgroundView(std::shared_ptr<View> view) {
  if (view == selectedBackgroundView_) return;
  if (selectedBackgroundView_ && selectedBackgroundView_->superview().get() == this) {
    selectedBackgroundView_->removeFromSuperview();
  }
  selectedBackgroundView_ = std::move(view);
  updateSelectionBackground();
}

void CollectionViewCell::updateSelectionBackground() {
  if (!selectedBackgroundView_) return;
  bool shown = selected_ || highlighted_;
  bool present = selectedBackgroundView_->superview().get() == this;
  if (!shown) {
    if (present) selectedBackgroundView_->removeFromSuperview();
    return;
  }
  selectedBackgroundView_->setFrame(bounds());
  if (present) return;
  if (backgroundView_ && backgroundView_->superview().get() == this) {
    insertSubviewAbove(selectedBackgroundView_, backgroundView_);
  } else {
    insertSubview(selectedBackgroundView_, 0);
  }
}

void CollectionViewCell::setSelected(bool selected) {
  if (selected == selected_) return;
  selected_ = selected;
  updateSelectionBackground();
}

void CollectionViewCell::setHighlighted(bool highlighted) {
  if (highlighted == highlighted_) return;
  highlighted_ = highlighted;
  updateSelectionBackground();
}

void CollectionViewCell::prepareForReuse() {
  selected_ = false;
  highlighted_ = false;
  updateSelectionBackground();
}

void CollectionViewCell::layoutSubviews() {
  Rect b = bounds();
  contentView_->setFrame(b);
  if (backgroundView_ && backgroundView_->superview().get() == this) backgroundView_->setFrame(b);
  if (selectedBackgroundView_ && selectedBackgroundView_->superview().get() == this) {
    selectedBackgroundView_->setFrame(b);
  }
}

}  // namespace ui
