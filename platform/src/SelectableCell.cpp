#include "ui/SelectableCell.h"

namespace ui {

SelectableCell::SelectableCell(const Rect& frame, std::string reuseIdentifier)
    : View(frame), reuseIdentifier_(std::move(reuseIdentifier)) {
  contentView_ = std::make_shared<View>(bounds());
  addSubview(contentView_);
}

SelectableCell::~SelectableCell() = default;

void SelectableCell::setBackgroundView(std::shared_ptr<View> view) {
  if (view == backgroundView_) return;
  if (backgroundView_ && backgroundView_->superview().get() == this) backgroundView_->removeFromSuperview();
  backgroundView_ = std::move(view);
  if (!backgroundView_) return;
  backgroundView_->setFrame(bounds());
  insertSubview(backgroundView_, 0);
}

void SelectableCell::setSelectedBackgroundView(std::shared_ptr<View> view) {
  if (view == selectedBackgroundView_) return;
  if (selectedBackgroundView_ && selectedBackgroundView_->superview().get() == this) {
    selectedBackgroundView_->removeFromSuperview();
  }
  selectedBackgroundView_ = std::move(view);
  updateSelectionBackground();
}

void SelectableCell::updateSelectionBackground() {
  if (selectedBackgroundView_ && defaultSelectedBackground_) {
    defaultSelectedBackground_->removeFromSuperview();
    defaultSelectedBackground_.reset();
  }
  bool shown = selected_ || highlighted_;
  std::shared_ptr<View> view = selectedBackgroundView_;
  if (!view && shown && !defaultSelectionColor_.isClear() && !defaultSelectedBackground_) {
    defaultSelectedBackground_ = std::make_shared<View>();
    defaultSelectedBackground_->setBackgroundColor(defaultSelectionColor_);
  }
  if (!view) view = defaultSelectedBackground_;
  if (!view) return;
  if (!shown) {
    if (view->superview().get() == this) view->removeFromSuperview();
    return;
  }
  view->setFrame(bounds());
  if (view->superview().get() == this) return;
  if (backgroundView_ && backgroundView_->superview().get() == this) {
    insertSubviewAbove(view, backgroundView_);
  } else {
    insertSubview(view, 0);
  }
}

void SelectableCell::showSelected(bool selected) {
  if (selected == selected_) return;
  selected_ = selected;
  updateSelectionBackground();
}

void SelectableCell::showHighlighted(bool highlighted) {
  if (highlighted == highlighted_) return;
  highlighted_ = highlighted;
  updateSelectionBackground();
}

void SelectableCell::prepareForReuse() {
  highlighted_ = false;
  selected_ = false;
  updateSelectionBackground();
}

void SelectableCell::layoutSubviews() {
  Rect b = bounds();
  contentView_->setFrame(b);
  for (const auto& view : {backgroundView_, selectedBackgroundView_, defaultSelectedBackground_}) {
    if (view && view->superview().get() == this) view->setFrame(b);
  }
}

}  // namespace ui
