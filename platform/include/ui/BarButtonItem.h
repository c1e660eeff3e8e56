#pragma once

#include <functional>
#include <string>

namespace ui {

enum class SystemItem { Done, Cancel, Edit, Save, Add };

// A button on the navigation bar. The action is a closure; a target that must
// not be kept alive is captured weakly by whoever makes the item.
class BarButtonItem {
 public:
  BarButtonItem(SystemItem item, std::function<void()> action) : systemItem_(item), action_(std::move(action)) {}

  SystemItem systemItem() const { return systemItem_; }
  void trigger() const {
    if (action_) action_();
  }

 private:
  SystemItem systemItem_;
  std::function<void()> action_;
};

}  // namespace ui
