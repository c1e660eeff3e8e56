#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Geometry.h"
#include "ui/View.h"

namespace ui {

class BarButtonItem;
class NavigationController;
class View;

enum class RectEdge { None = 0, All = 15 };

// Owns one view, loaded lazily, and hears when it appears and disappears.
//
// Ownership: a parent controller holds its children strongly; a child knows
// its parent weakly. The view is held by the controller.
//
// Controllers are made with std::make_shared, and a controller has no owner
// inside its own constructor: weak_from_this() is still empty there. So the
// constructor only stores what it is given and makes the objects the screen
// keeps; everything that needs the screen's own pointer (being a table's
// data source or delegate, closures that reach the screen) and everything
// placed in its view is done in viewDidLoad, which runs on the first view()
// call. view() raises when asked inside the constructor, so the rule cannot
// be broken by accident.
class ViewController : public std::enable_shared_from_this<ViewController> {
 public:
  ViewController();
  virtual ~ViewController();
  ViewController(const ViewController&) = delete;
  ViewController& operator=(const ViewController&) = delete;

  // Loads the view on first use: loadView, then viewDidLoad. Raises
  // (NSInternalInconsistencyException) before the controller is owned by a
  // std::shared_ptr, that is, inside its constructor.
  std::shared_ptr<View> view();
  bool isViewLoaded() const { return view_ != nullptr; }

  virtual void loadView();
  virtual void viewDidLoad() {}
  virtual void viewWillAppear(bool /*animated*/) {}
  virtual void viewDidAppear(bool /*animated*/) {}
  virtual void viewWillDisappear(bool /*animated*/) {}
  virtual void viewDidDisappear(bool /*animated*/) {}
  virtual void didReceiveMemoryWarning() {}
  virtual bool prefersStatusBarHidden() const { return false; }
  // A key command the window offers the screen on top of the navigation
  // stack before acting on it itself (after a floating alert, and after a
  // focused field has typed what it can); true when taken.
  virtual bool performKeyCommand(KeyCommand) { return false; }

  RectEdge edgesForExtendedLayout() const { return edgesForExtendedLayout_; }
  void setEdgesForExtendedLayout(RectEdge edges) { edgesForExtendedLayout_ = edges; }
  // Whether a navigation controller gives the screen's scroll view (the
  // view itself, or else its first subview) a top content inset as deep as
  // the bars it extends under, so its content rests clear of them.
  bool automaticallyAdjustsScrollViewInsets() const { return adjustsScrollViewInsets_; }
  void setAutomaticallyAdjustsScrollViewInsets(bool adjusts) { adjustsScrollViewInsets_ = adjusts; }

  const std::string& title() const { return title_; }
  void setTitle(const std::string& title) { title_ = title; }
  // The navigation bar's item on the right while this controller is on top.
  std::shared_ptr<BarButtonItem> rightBarButtonItem() const { return rightBarButtonItem_; }
  void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item);

  std::shared_ptr<ViewController> parentViewController() const { return parent_.lock(); }
  // The nearest navigation controller above this one, or null.
  std::shared_ptr<NavigationController> navigationController() const;
  virtual void addChildViewController(const std::shared_ptr<ViewController>& child);
  void removeFromParentViewController();
  const std::vector<std::shared_ptr<ViewController>>& childViewControllers() const { return children_; }

 protected:
  void setView(std::shared_ptr<View> view);

 private:
  std::shared_ptr<View> view_;
  std::weak_ptr<ViewController> parent_;
  std::vector<std::shared_ptr<ViewController>> children_;
  RectEdge edgesForExtendedLayout_ = RectEdge::All;
  bool adjustsScrollViewInsets_ = true;
  std::string title_;
  std::shared_ptr<BarButtonItem> rightBarButtonItem_;
  bool loading_ = false;
};

}  // namespace ui
