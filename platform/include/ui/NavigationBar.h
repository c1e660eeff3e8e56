#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/Control.h"
#include "ui/Image.h"

namespace ui {

class BarButtonItem;

enum class BarMetrics { Default = 0 };

// The bar at the top of a navigation stack: a back button when there is a
// screen to go back to, the top screen's title and its right-hand item. It
// also covers the status bar strip above it (20 points) with its background.
class NavigationBar : public View {
 public:
  static constexpr double statusBarHeight = 20;
  static constexpr double barHeight = 44;

  explicit NavigationBar(const Rect& frame = {});

  // The appearance shared by every bar of the process: a background picture
  // stretched over the bar and the status strip.
  static void setAppearanceBackgroundImage(std::shared_ptr<Image> image, BarMetrics metrics);
  static std::shared_ptr<Image> appearanceBackgroundImage(BarMetrics metrics);

  void setBackTitle(const std::string& title, bool visible);
  void setTitle(const std::string& title);
  void setRightItem(std::shared_ptr<BarButtonItem> item);
  std::function<void()> onBack;

  // The tappable areas, in bar coordinates, for layout and tests.
  Rect backButtonFrame() const;
  Rect rightItemFrame() const;
  bool hasBackButton() const { return backVisible_; }
  std::shared_ptr<BarButtonItem> rightItem() const { return rightItem_; }

  void draw(GraphicsContext& context, const Rect& dirty) override;
  void touchesBegan(const Touch& touch) override;
  void touchesEnded(const Touch& touch) override;
  void touchesCancelled(const Touch& touch) override;

 private:
  enum class Pressed { None, Back, Right };
  Pressed partAt(Point p) const;
  std::string backTitle_;
  bool backVisible_ = false;
  std::string title_;
  std::shared_ptr<BarButtonItem> rightItem_;
  Pressed pressed_ = Pressed::None;
};

}  // namespace ui
