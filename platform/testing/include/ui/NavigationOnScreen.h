#pragma once

#include <memory>

#include "ui/NavigationController.h"
#include "ui/TestDriver.h"
#include "ui/Window.h"

namespace ui {

// A shown 568 x 320 window whose root is a navigation controller holding
// `root`, with the event loop run until that screen has appeared.
struct NavigationOnScreen {
  TestDriver driver;
  std::shared_ptr<Window> window = std::make_shared<Window>(Rect(0, 0, 568, 320));
  std::shared_ptr<NavigationController> navigation = std::make_shared<NavigationController>();
  std::shared_ptr<ViewController> root;

  explicit NavigationOnScreen(std::shared_ptr<ViewController> rootScreen = std::make_shared<ViewController>())
      : root(std::move(rootScreen)) {
    navigation->addChildViewController(root);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    driver.runUntilIdle();
  }

  // Pushes `screen` and runs the event loop until it is shown.
  std::shared_ptr<ViewController> push(std::shared_ptr<ViewController> screen, bool animated = false) {
    navigation->pushViewController(screen, animated);
    driver.runUntilIdle();
    return screen;
  }
};

}  // namespace ui
