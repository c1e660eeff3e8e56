#include "ui/NavigationBar.h"

#include <QDateTime>
#include <map>

#include "QtConversions.h"
#include "ui/BarButtonItem.h"
#include "ui/GraphicsContext.h"

namespace ui {
namespace {

std::map<BarMetrics, std::shared_ptr<Image>>& appearanceImages() {
  static std::map<BarMetrics, std::shared_ptr<Image>> images;
  return images;
}

const Color tint = Color::rgba(0, 122 / 255.0, 1);
const Font barFont = Font::system(17);

}  // namespace

NavigationBar::NavigationBar(const Rect& frame) : View(frame) {}

void NavigationBar::setAppearanceBackgroundImage(std::shared_ptr<Image> image, BarMetrics metrics) {
  appearanceImages()[metrics] = std::move(image);
}

std::shared_ptr<Image> NavigationBar::appearanceBackgroundImage(BarMetrics metrics) {
  auto it = appearanceImages().find(metrics);
  return it == appearanceImages().end() ? nullptr : it->second;
}

void NavigationBar::setBackTitle(const std::string& title, bool visible) {
  backTitle_ = title.empty() ? "Back" : title;
  backVisible_ = visible;
  setNeedsDisplay();
}

void NavigationBar::setTitle(const std::string& title) {
  title_ = title;
  setNeedsDisplay();
}

void NavigationBar::setRightItem(std::shared_ptr<BarButtonItem> item) {
  rightItem_ = std::move(item);
  setNeedsDisplay();
}

Rect NavigationBar::backButtonFrame() const {
  if (!backVisible_) return Rect();
  double width = barFont.measure(backTitle_).width + 28;
  return Rect(0, statusBarHeight, width, barHeight);
}

Rect NavigationBar::rightItemFrame() const {
  if (!rightItem_) return Rect();
  return Rect(bounds().width() - 52, statusBarHeight, 52, barHeight);
}

void NavigationBar::draw(GraphicsContext& context, const Rect&) {
  Rect b = bounds();
  if (auto image = appearanceBackgroundImage(BarMetrics::Default)) {
    context.drawImage(*image, b);
  } else {
    context.fillRect(b, Color::rgba(0.97, 0.97, 0.97, 0.92));
    context.fillRect(Rect(0, b.height() - 0.5, b.width(), 0.5), Color::white(0.7));
  }
  Font clockFont = Font::system(12);
  std::string clock = fromQt(QDateTime::currentDateTime().toString("HH:mm"));
  context.drawText(clock, Rect(0, 3, b.width(), 14), clockFont, Color::black(), TextAlignment::Center);

  Rect bar(0, statusBarHeight, b.width(), barHeight);
  double textY = bar.y() + (barHeight - barFont.measure("Ag").height) / 2;
  if (!title_.empty()) {
    context.drawText(title_, Rect(0, textY, b.width(), barHeight), barFont, Color::black(), TextAlignment::Center);
  }
  double pressedAlpha = 0.3;
  if (backVisible_) {
    Color c = tint;
    if (pressed_ == Pressed::Back) c.alpha = pressedAlpha;
    // The phone's back chevron.
    Rect r = backButtonFrame();
    double cy = r.y() + barHeight / 2;
    context.strokeLine(Point{18, cy - 10}, Point{8, cy}, c, 3);
    context.strokeLine(Point{8, cy}, Point{18, cy + 10}, c, 3);
    context.drawText(backTitle_, Rect(24, textY, r.width(), barHeight), barFont, c);
  }
  if (rightItem_) {
    Color c = tint;
    if (pressed_ == Pressed::Right) c.alpha = pressedAlpha;
    Rect r = rightItemFrame();
    double cx = r.x() + r.width() / 2, cy = r.y() + r.height() / 2;
    if (rightItem_->systemItem() == SystemItem::Add) {
      context.fillRect(Rect(cx - 10, cy - 1, 20, 2), c);
      context.fillRect(Rect(cx - 1, cy - 10, 2, 20), c);
    } else {
      static const char* names[] = {"Done", "Cancel", "Edit", "Save", "Add"};
      context.drawText(names[int(rightItem_->systemItem())], Rect(r.x() - 20, textY, r.width() + 12, barHeight),
                       barFont, c, TextAlignment::Right);
    }
  }
}

NavigationBar::Pressed NavigationBar::partAt(Point p) const {
  if (backVisible_ && backButtonFrame().contains(p)) return Pressed::Back;
  if (rightItem_ && rightItemFrame().contains(p)) return Pressed::Right;
  return Pressed::None;
}

void NavigationBar::touchesBegan(const Touch& touch) {
  pressed_ = partAt(touch.location(*this));
  setNeedsDisplay();
}

void NavigationBar::touchesEnded(const Touch& touch) {
  Pressed was = pressed_;
  pressed_ = Pressed::None;
  setNeedsDisplay();
  if (was == Pressed::None || partAt(touch.location(*this)) != was) return;
  if (was == Pressed::Back && onBack) {
    auto back = onBack;
    back();
  } else if (was == Pressed::Right && rightItem_) {
    auto item = rightItem_;  // the action may replace the item
    item->trigger();
  }
}

void NavigationBar::touchesCancelled(const Touch&) {
  pressed_ = Pressed::None;
  setNeedsDisplay();
}

}  // namespace ui
