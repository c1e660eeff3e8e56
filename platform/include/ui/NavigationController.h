#pragma once

#include <memory>
#include <vector>

#include "ui/ViewController.h"

namespace ui {

class NavigationBar;
class View;

// A stack of screens under a navigation bar. Pushing and popping slide the
// screens sideways when animated; the appearance notifications follow the
// phone's order: the leaving screen's will-disappear, the arriving screen's
// will-appear, then did-disappear and did-appear once the move is over.
// A transition starts at the next turn of the event loop, as on the phone, so
// changes made right after a push (showing the bar) apply to the new screen.
class NavigationController : public ViewController {
 public:
  NavigationController();
  ~NavigationController() override;

  void pushViewController(const std::shared_ptr<ViewController>& controller, bool animated);
  std::shared_ptr<ViewController> popViewControllerAnimated(bool animated);
  const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return stack_; }
  std::shared_ptr<ViewController> topViewController() const;
  // The back button's action, also the keyboard's: pops the top screen,
  // animated, unless it is the root or a move is under way. True when it did.
  bool goBack();

  bool isNavigationBarHidden() const { return barHidden_; }
  void setNavigationBarHidden(bool hidden, bool animated);
  std::shared_ptr<NavigationBar> navigationBar() const { return bar_; }

  // Adding a child to an empty stack makes it the root screen.
  void addChildViewController(const std::shared_ptr<ViewController>& child) override;

  void loadView() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void viewDidDisappear(bool animated) override;

  // Where a screen's view goes, given its extended-layout edges and the bar.
  // A screen that extends under the bars has its scroll view's top content
  // inset set to their depth (unless it opts out).
  Rect frameForContent(const ViewController& controller) const;
  bool isTransitioning() const;
  // Shows the top screen's title and items again after they changed.
  void refreshNavigationBar();

 private:
  struct Transition;
  void startTransition(std::shared_ptr<ViewController> from, std::shared_ptr<ViewController> to, bool push,
                       bool animated);
  void finishTransition();
  void runPendingTransition();
  void updateBar();
  void layoutContent();
  // Gives the screen's view its content frame and, for a screen that extends
  // under the bars, its scroll view the top inset that clears them.
  void placeContent(ViewController& controller);

  std::vector<std::shared_ptr<ViewController>> stack_;
  std::shared_ptr<ViewController> shown_;  // the screen whose view is on display
  std::shared_ptr<NavigationBar> bar_;
  std::shared_ptr<View> container_;
  bool barHidden_ = false;
  bool appeared_ = false;
  std::unique_ptr<Transition> transition_;
  bool transitionScheduled_ = false;
  std::vector<std::pair<std::shared_ptr<ViewController>, bool>> pending_;
};

}  // namespace ui
