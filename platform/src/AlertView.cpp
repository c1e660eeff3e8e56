#include "ui/AlertView.h"

#include <algorithm>
#include <cmath>

#include "ui/Control.h"
#include "ui/Exception.h"
#include "ui/GraphicsContext.h"
#include "ui/Window.h"

namespace ui {
namespace {

constexpr double boxWidth = 270;
constexpr double padding = 16;
constexpr double topPadding = 19;
constexpr double buttonHeight = 44;
constexpr double cornerRadius = 7;
const Font titleFont = Font::boldSystem(17);
const Font messageFont = Font::system(13);
const Color tint = Color::rgba(0, 122 / 255.0, 1);
const Color hairline = Color::white(0.8);

class AlertButton : public Control {
 public:
  AlertButton(std::string title, bool bold) : title_(std::move(title)), bold_(bold) {}
  void draw(GraphicsContext& context, const Rect&) override {
    Rect b = bounds();
    if (isHighlighted()) context.fillRect(b, Color::white(0.85));
    Font font = bold_ ? Font::boldSystem(17) : Font::system(17);
    double h = font.measure(title_).height;
    context.drawText(title_, Rect(4, (b.height() - h) / 2, b.width() - 8, h), font, tint, TextAlignment::Center);
  }

 private:
  std::string title_;
  bool bold_;
};

}  // namespace

AlertView::AlertView(const std::string& title, const std::string& message,
                     const std::shared_ptr<AlertViewDelegate>& delegate, const std::string& cancelButtonTitle,
                     const std::vector<std::string>& otherButtonTitles)
    : title_(title), message_(message), delegate_(delegate), hasCancel_(!cancelButtonTitle.empty()) {
  if (hasCancel_) buttonTitles_.push_back(cancelButtonTitle);
  buttonTitles_.insert(buttonTitles_.end(), otherButtonTitles.begin(), otherButtonTitles.end());
}

AlertView::~AlertView() = default;

std::string AlertView::buttonTitleAtIndex(long index) const {
  if (index < 0 || index >= numberOfButtons()) return {};
  return buttonTitles_[size_t(index)];
}

long AlertView::addButtonWithTitle(const std::string& title) {
  buttonTitles_.push_back(title);
  return numberOfButtons() - 1;
}

long AlertView::preferredButtonIndex() const {
  if (numberOfButtons() == 0) return -1;
  return hasCancel_ && numberOfButtons() > 1 ? 1 : 0;
}

bool AlertView::performKeyCommand(KeyCommand command) {
  long index = -1;
  if (command == KeyCommand::Confirm) index = preferredButtonIndex();
  if (command == KeyCommand::Cancel) index = hasCancel_ || numberOfButtons() == 1 ? 0 : -1;
  if (index >= 0 && index < long(buttons_.size()) && isVisible()) buttonTapped(index);
  return true;
}

std::shared_ptr<View> AlertView::buttonAtIndex(long index) const {
  if (index < 0 || index >= long(buttons_.size())) return nullptr;
  return buttons_[size_t(index)];
}

void AlertView::show() {
  Window* window = Window::keyWindow();
  if (!window) raise("NSInternalInconsistencyException", "an alert needs a key window to show in");
  if (auto responder = window->firstResponder()) responder->resignFirstResponder();
  for (auto& button : buttons_) button->removeFromSuperview();
  buttons_.clear();
  std::weak_ptr<View> weak = weak_from_this();
  for (long i = 0; i < numberOfButtons(); ++i) {
    // The cancel button is bold, as on the phone.
    auto button = std::make_shared<AlertButton>(buttonTitles_[size_t(i)], i == cancelButtonIndex());
    button->onTouchUpInside = [weak, i](Control&) {
      if (auto self = std::static_pointer_cast<AlertView>(weak.lock())) self->buttonTapped(i);
    };
    buttons_.push_back(button);
    addSubview(button);
  }
  window->presentOverlay(shared_from_this());
  layoutSubviews();
}

void AlertView::setMessage(const std::string& message) {
  message_ = message;
  layoutSubviews();
}

void AlertView::dismissWithClickedButtonIndex(long, bool) { removeFromSuperview(); }

void AlertView::buttonTapped(long index) {
  // The window held the alert; keep it for the delegate's turn.
  auto keep = shared_from_this();
  removeFromSuperview();
  if (auto delegate = delegate_.lock()) delegate->clickedButtonAtIndex(*this, index);
}

double AlertView::textHeight() const {
  double width = boxWidth - 2 * padding;
  double height = topPadding + titleFont.measureWrapped(title_, width).height;
  if (!message_.empty()) height += 4 + messageFont.measureWrapped(message_, width).height;
  return height + topPadding;
}

double AlertView::buttonsHeight() const {
  long n = numberOfButtons();
  return n == 2 ? buttonHeight : buttonHeight * double(n);
}

Rect AlertView::boxRect() const {
  Rect b = bounds();
  double height = std::min(textHeight() + buttonsHeight(), b.height() - 20);
  return Rect(std::round((b.width() - boxWidth) / 2), std::round((b.height() - height) / 2), boxWidth, height);
}

void AlertView::layoutSubviews() {
  Rect box = boxRect();
  double top = box.maxY() - buttonsHeight();
  long n = long(buttons_.size());
  for (long i = 0; i < n; ++i) {
    Rect frame = n == 2 ? Rect(box.x() + boxWidth / 2 * double(i), top, boxWidth / 2, buttonHeight)
                        : Rect(box.x(), top + buttonHeight * double(i), boxWidth, buttonHeight);
    buttons_[size_t(i)]->setFrame(frame);
  }
  setNeedsDisplay();
}

void AlertView::draw(GraphicsContext& context, const Rect&) {
  context.fillRect(bounds(), Color::white(0, 0.4));
  Rect box = boxRect();
  context.fillRoundedRect(box, cornerRadius, Color::white(0.97));
  double width = boxWidth - 2 * padding;
  double y = box.y() + topPadding;
  Size title = titleFont.measureWrapped(title_, width);
  context.drawWrappedText(title_, Rect(box.x() + padding, y, width, title.height), titleFont, Color::black(),
                          TextAlignment::Center);
  y += title.height + 4;
  if (!message_.empty()) {
    double bottom = box.maxY() - buttonsHeight() - topPadding;
    context.drawWrappedText(message_, Rect(box.x() + padding, y, width, std::max(0.0, bottom - y)), messageFont,
                            Color::black(), TextAlignment::Center);
  }
  double top = box.maxY() - buttonsHeight();
  long n = numberOfButtons();
  long rows = n == 2 ? 1 : n;
  for (long r = 0; r < rows; ++r) {
    double lineY = top + buttonHeight * double(r);
    context.fillRect(Rect(box.x(), lineY, boxWidth, 0.5), hairline);
  }
  if (n == 2) context.fillRect(Rect(box.x() + boxWidth / 2, top, 0.5, buttonHeight), hairline);
}

}  // namespace ui
