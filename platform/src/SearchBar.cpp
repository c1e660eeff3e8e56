#include "ui/SearchBar.h"

#include "ui/Control.h"
#include "ui/GraphicsContext.h"
#include "ui/SearchDisplayController.h"
#include "ui/TextField.h"

namespace ui {
namespace {

constexpr double fieldHeight = 28;
constexpr double margin = 8;
constexpr double cancelWidth = 56;
const Color tint = Color::rgba(0, 122 / 255.0, 1);

class CancelButton : public Control {
 public:
  void draw(GraphicsContext& context, const Rect&) override {
    Font font = Font::system(17);
    double h = font.measure("Cancel").height;
    Color color = tint;
    if (isHighlighted()) color.alpha = 0.3;
    context.drawText("Cancel", Rect(0, (bounds().height() - h) / 2, bounds().width() - margin, h), font, color,
                     TextAlignment::Center);
  }
};

}  // namespace

SearchBar::SearchBar(const Rect& frame) : View(frame) {
  field_ = std::make_shared<TextField>();
  field_->setFont(Font::system(14));
  field_->setTextInsets(EdgeInsets{0, 26, 0, 6});
  field_->setPlaceholder("Search");
  // Raw `this`: the bar owns the field and clears these in its destructor.
  field_->onEditingBegan = [this](TextField&) {
    if (displayController_) displayController_->setActive(true, true);
    if (auto began = onBeginEditing) began(*this);
  };
  field_->onEditingChanged = [this](TextField& field) {
    std::string text = field.text();
    if (displayController_) displayController_->searchTextChanged(text);
    if (auto changed = onTextChanged) changed(*this, text);
  };
  addSubview(field_);
  cancelButton_ = std::make_shared<CancelButton>();
  cancelButton_->setHidden(true);
  cancelButton_->onTouchUpInside = [this](Control&) { cancel(); };
  addSubview(cancelButton_);
  layoutSubviews();
}

SearchBar::~SearchBar() {
  field_->onEditingBegan = nullptr;
  field_->onEditingChanged = nullptr;
  cancelButton_->onTouchUpInside = nullptr;
}

std::string SearchBar::text() const { return field_->text(); }
void SearchBar::setText(const std::string& text) { field_->setText(text); }
std::string SearchBar::placeholder() const { return field_->placeholder(); }
void SearchBar::setPlaceholder(const std::string& placeholder) { field_->setPlaceholder(placeholder); }

void SearchBar::setShowsCancelButton(bool shows) {
  if (shows == showsCancel_) return;
  showsCancel_ = shows;
  cancelButton_->setHidden(!shows);
  layoutSubviews();
  setNeedsDisplay();
}

void SearchBar::cancel() {
  setText("");
  field_->resignFirstResponder();
  setShowsCancelButton(false);
  if (displayController_) displayController_->setActive(false, true);
  if (auto cancelled = onCancel) cancelled(*this);
}

bool SearchBar::performKeyCommand(KeyCommand command) {
  if (command != KeyCommand::Cancel || !showsCancel_) return false;
  cancel();
  return true;
}

void SearchBar::layoutSubviews() {
  Rect b = bounds();
  double right = showsCancel_ ? cancelWidth + margin : 0;
  field_->setFrame(
      Rect(margin, (b.height() - fieldHeight) / 2, std::max(0.0, b.width() - 2 * margin - right), fieldHeight));
  cancelButton_->setFrame(Rect(b.width() - cancelWidth - margin, 0, cancelWidth + margin, b.height()));
}

void SearchBar::draw(GraphicsContext& context, const Rect&) {
  Rect b = bounds();
  context.fillRect(b, Color::rgba(0.79, 0.79, 0.81));
  context.fillRect(Rect(0, b.height() - 0.5, b.width(), 0.5), Color::white(0.7));
  Rect field = field_->frame();
  context.fillRoundedRect(field, 5, Color::white(1));
  // The magnifier: a ring and a short handle.
  Color grey = Color::white(0.56);
  double cx = field.x() + 13, cy = field.y() + field.height() / 2 - 1;
  context.strokeRoundedRect(Rect(cx - 5, cy - 5, 10, 10), 5, grey, 1.5);
  context.strokeLine(Point{cx + 3.5, cy + 3.5}, Point{cx + 7, cy + 7}, grey, 1.5);
}

}  // namespace ui
