#include "ui/TableViewCell.h"

#include <algorithm>

#include "ui/GraphicsContext.h"
#include "ui/Image.h"
#include "ui/ImageView.h"
#include "ui/Label.h"

namespace ui {
namespace {

constexpr double margin = 15;

}  // namespace

TableViewCell::TableViewCell(TableViewCellStyle style, const std::string& reuseIdentifier)
    : View(Rect(0, 0, 320, 44)), style_(style), reuseIdentifier_(reuseIdentifier) {
  setBackgroundColor(Color::white(1));
  contentView_ = std::make_shared<View>(bounds());
  addSubview(contentView_);
}

TableViewCell::~TableViewCell() = default;

std::shared_ptr<ImageView> TableViewCell::imageView() {
  if (!imageView_) {
    imageView_ = std::make_shared<ImageView>();
    contentView_->addSubview(imageView_);
    layoutSubviews();
  }
  return imageView_;
}

std::shared_ptr<Label> TableViewCell::textLabel() {
  if (!textLabel_) {
    textLabel_ = std::make_shared<Label>();
    textLabel_->setFont(Font::system(18));
    contentView_->addSubview(textLabel_);
    layoutSubviews();
  }
  return textLabel_;
}

void TableViewCell::setBackgroundView(std::shared_ptr<View> view) {
  if (view == backgroundView_) return;
  if (backgroundView_ && backgroundView_->superview().get() == this) backgroundView_->removeFromSuperview();
  backgroundView_ = std::move(view);
  if (!backgroundView_) return;
  backgroundView_->setFrame(bounds());
  insertSubview(backgroundView_, 0);
}

void TableViewCell::setSelectedBackgroundView(std::shared_ptr<View> view) {
  if (view == selectedBackgroundView_) return;
  if (selectedBackgroundView_ && selectedBackgroundView_->superview().get() == this) {
    selectedBackgroundView_->removeFromSuperview();
  }
  selectedBackgroundView_ = std::move(view);
  updateSelectionBackground();
}

void TableViewCell::updateSelectionBackground() {
  if (selectedBackgroundView_ && defaultSelectedBackground_) {
    defaultSelectedBackground_->removeFromSuperview();
    defaultSelectedBackground_.reset();
  }
  bool shown = selected_ || highlighted_;
  std::shared_ptr<View> view = selectedBackgroundView_;
  if (!view && shown) {
    if (!defaultSelectedBackground_) {
      defaultSelectedBackground_ = std::make_shared<View>();
      defaultSelectedBackground_->setBackgroundColor(Color::white(0.85));
    }
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

void TableViewCell::setSelected(bool selected, bool) {
  if (selected == selected_) return;
  selected_ = selected;
  updateSelectionBackground();
}

void TableViewCell::setHighlighted(bool highlighted, bool) {
  if (highlighted == highlighted_) return;
  highlighted_ = highlighted;
  updateSelectionBackground();
}

void TableViewCell::prepareForReuse() {
  highlighted_ = false;
  selected_ = false;
  updateSelectionBackground();
}

void TableViewCell::setSeparator(bool shown, const Color& color, double leftInset) {
  if (shown == separatorShown_ && color == separatorColor_ && leftInset == separatorInset_) return;
  separatorShown_ = shown;
  separatorColor_ = color;
  separatorInset_ = leftInset;
  setNeedsDisplay();
}

void TableViewCell::layoutSubviews() {
  Rect b = bounds();
  contentView_->setFrame(b);
  for (const auto& view : {backgroundView_, selectedBackgroundView_, defaultSelectedBackground_}) {
    if (view && view->superview().get() == this) view->setFrame(b);
  }
  double textX = margin;
  if (imageView_) {
    Size s = imageView_->image() ? imageView_->image()->size() : Size{};
    s.height = std::min(s.height, b.height());
    imageView_->setFrame(Rect(margin, (b.height() - s.height) / 2, s.width, s.height));
    if (s.width > 0) textX = margin + s.width + margin;
  }
  if (textLabel_) textLabel_->setFrame(Rect(textX, 0, std::max(0.0, b.width() - textX - margin), b.height()));
}

void TableViewCell::drawOverSubviews(GraphicsContext& context, const Rect&) {
  if (!separatorShown_ || separatorColor_.isClear()) return;
  Rect b = bounds();
  context.fillRect(Rect(separatorInset_, b.height() - 0.5, b.width() - separatorInset_, 0.5), separatorColor_);
}

}  // namespace ui
