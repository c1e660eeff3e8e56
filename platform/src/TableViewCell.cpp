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
    : SelectableCell(Rect(0, 0, 320, 44), reuseIdentifier), style_(style) {
  setBackgroundColor(Color::white(1));
  setDefaultSelectionColor(Color::white(0.85));
}

TableViewCell::~TableViewCell() = default;

std::shared_ptr<ImageView> TableViewCell::imageView() {
  if (!imageView_) {
    imageView_ = std::make_shared<ImageView>();
    contentView()->addSubview(imageView_);
    layoutSubviews();
  }
  return imageView_;
}

std::shared_ptr<Label> TableViewCell::textLabel() {
  if (!textLabel_) {
    textLabel_ = std::make_shared<Label>();
    textLabel_->setFont(Font::system(18));
    contentView()->addSubview(textLabel_);
    layoutSubviews();
  }
  return textLabel_;
}

void TableViewCell::setSelected(bool selected, bool) { showSelected(selected); }

void TableViewCell::setHighlighted(bool highlighted, bool) { showHighlighted(highlighted); }

void TableViewCell::setSeparator(bool shown, const Color& color, double leftInset) {
  if (shown == separatorShown_ && color == separatorColor_ && leftInset == separatorInset_) return;
  separatorShown_ = shown;
  separatorColor_ = color;
  separatorInset_ = leftInset;
  setNeedsDisplay();
}

void TableViewCell::layoutSubviews() {
  SelectableCell::layoutSubviews();
  Rect b = bounds();
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
