#include "ui/ViewController.h"

#include <algorithm>

#include "ui/Exception.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "ui/View.h"

namespace ui {

ViewController::ViewController() = default;

ViewController::~ViewController() {
  if (view_) view_->setViewController(nullptr);
}

std::shared_ptr<View> ViewController::view() {
  if (!view_ && !loading_) {
    if (weak_from_this().expired()) {
      raise("NSInternalInconsistencyException",
            "A view controller's view was asked for before the controller was owned; build it in viewDidLoad");
    }
    loading_ = true;
    loadView();
    loading_ = false;
    if (!view_) view_ = std::make_shared<View>(Screen::main().bounds());
    view_->setViewController(this);
    viewDidLoad();
  }
  return view_;
}

void ViewController::loadView() { setView(std::make_shared<View>(Screen::main().bounds())); }

void ViewController::setView(std::shared_ptr<View> view) {
  if (view_) view_->setViewController(nullptr);
  view_ = std::move(view);
  if (view_) view_->setViewController(this);
}

void ViewController::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item) {
  rightBarButtonItem_ = std::move(item);
  if (auto navigation = navigationController()) navigation->refreshNavigationBar();
}

std::shared_ptr<NavigationController> ViewController::navigationController() const {
  for (auto parent = parent_.lock(); parent; parent = parent->parent_.lock()) {
    if (auto navigation = std::dynamic_pointer_cast<NavigationController>(parent)) return navigation;
  }
  return nullptr;
}

void ViewController::addChildViewController(const std::shared_ptr<ViewController>& child) {
  if (!child || child.get() == this) return;
  child->removeFromParentViewController();
  children_.push_back(child);
  child->parent_ = weak_from_this();
}

void ViewController::removeFromParentViewController() {
  auto parent = parent_.lock();
  if (!parent) return;
  auto& siblings = parent->children_;
  auto it = std::find_if(siblings.begin(), siblings.end(), [this](const auto& c) { return c.get() == this; });
  parent_.reset();
  if (it != siblings.end()) {
    auto keep = *it;  // erasing may drop the last reference to this controller
    siblings.erase(it);
  }
}

}  // namespace ui
