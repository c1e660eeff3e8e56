#include "ui/NavigationController.h"

#include <algorithm>

#include "BusyCount.h"
#include "ui/Application.h"
#include "ui/Exception.h"
#include "ui/NavigationBar.h"
#include "ui/Screen.h"
#include "ui/ScrollView.h"
#include "ui/Timer.h"
#include "ui/View.h"

namespace ui {
namespace {
constexpr double slideSeconds = 0.3;
constexpr double barFadeSeconds = 0.2;
}  // namespace

struct NavigationController::Transition {
  std::shared_ptr<ViewController> from, to;
  bool push = true;
  bool animated = false;
  double start = 0;
  std::shared_ptr<Timer> timer;
};

NavigationController::NavigationController() = default;

NavigationController::~NavigationController() {
  if (transition_) endBusy();
}

void NavigationController::loadView() {
  Rect screen = Screen::main().bounds();
  auto root = std::make_shared<View>(screen);
  container_ = std::make_shared<View>(Rect(0, 0, screen.width(), screen.height()));
  container_->setClipsToBounds(true);
  root->addSubview(container_);
  bar_ = std::make_shared<NavigationBar>(
      Rect(0, 0, screen.width(), NavigationBar::statusBarHeight + NavigationBar::barHeight));
  bar_->setHidden(barHidden_);
  std::weak_ptr<ViewController> weakSelf = weak_from_this();
  bar_->onBack = [weakSelf] {
    if (auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock())) self->goBack();
  };
  root->addSubview(bar_);
  setView(root);
}

std::shared_ptr<ViewController> NavigationController::topViewController() const {
  return stack_.empty() ? nullptr : stack_.back();
}

bool NavigationController::goBack() {
  if (stack_.size() <= 1 || isTransitioning()) return false;
  return popViewControllerAnimated(true) != nullptr;
}

void NavigationController::addChildViewController(const std::shared_ptr<ViewController>& child) {
  if (stack_.empty()) {
    pushViewController(child, false);
  } else {
    ViewController::addChildViewController(child);
  }
}

void NavigationController::pushViewController(const std::shared_ptr<ViewController>& controller, bool animated) {
  if (!controller) raise("NSInvalidArgumentException", "Cannot push a null view controller");
  if (std::find(stack_.begin(), stack_.end(), controller) != stack_.end()) {
    raise("NSInvalidArgumentException", "Pushing the same view controller instance more than once is not supported");
  }
  ViewController::addChildViewController(controller);
  stack_.push_back(controller);
  pending_.push_back({controller, animated});
  view();  // the bar exists from here on
  if (!appeared_) {
    updateBar();
    return;
  }
  if (!transitionScheduled_) {
    transitionScheduled_ = true;
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    Application::post([weakSelf] {
      if (auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock())) self->runPendingTransition();
    });
  }
}

std::shared_ptr<ViewController> NavigationController::popViewControllerAnimated(bool animated) {
  if (stack_.size() <= 1) return nullptr;
  auto popped = stack_.back();
  stack_.pop_back();
  pending_.push_back({popped, animated});
  if (appeared_ && !transitionScheduled_) {
    transitionScheduled_ = true;
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    Application::post([weakSelf] {
      if (auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock())) self->runPendingTransition();
    });
  } else if (!appeared_) {
    popped->removeFromParentViewController();
    updateBar();
  }
  return popped;
}

void NavigationController::runPendingTransition() {
  transitionScheduled_ = false;
  if (transition_) return;  // picked up again when the running one ends
  auto top = topViewController();
  bool animated = pending_.empty() ? false : pending_.back().second;
  pending_.clear();
  if (top == shown_ || !top) {
    updateBar();
    return;
  }
  bool push = !shown_ || std::find(stack_.begin(), stack_.end(), shown_) != stack_.end();
  startTransition(shown_, top, push, animated);
}

Rect NavigationController::frameForContent(const ViewController& controller) const {
  Rect screen = container_ ? container_->bounds() : Screen::main().bounds();
  if (controller.edgesForExtendedLayout() == RectEdge::All) return screen;
  double top = barHidden_ ? NavigationBar::statusBarHeight : NavigationBar::statusBarHeight + NavigationBar::barHeight;
  return Rect(0, top, screen.width(), screen.height() - top);
}

void NavigationController::placeContent(ViewController& controller) {
  auto view = controller.view();
  view->setFrame(frameForContent(controller));
  if (!controller.automaticallyAdjustsScrollViewInsets() || controller.edgesForExtendedLayout() != RectEdge::All) {
    return;
  }
  // As the phone's toolkit does: the view itself when it scrolls, else its
  // first subview when that does; deeper scroll views are the screen's own.
  auto scroller = std::dynamic_pointer_cast<ScrollView>(view);
  if (!scroller && !view->subviews().empty()) scroller = std::dynamic_pointer_cast<ScrollView>(view->subviews()[0]);
  if (!scroller) return;
  EdgeInsets inset = scroller->contentInset();
  inset.top = barHidden_ ? NavigationBar::statusBarHeight : NavigationBar::statusBarHeight + NavigationBar::barHeight;
  scroller->setContentInset(inset);
}

void NavigationController::startTransition(std::shared_ptr<ViewController> from, std::shared_ptr<ViewController> to,
                                           bool push, bool animated) {
  beginBusy();
  transition_ = std::make_unique<Transition>();
  transition_->from = from;
  transition_->to = to;
  transition_->push = push;
  transition_->animated = animated && !animationsInstant();

  auto toView = to->view();
  // The arriving screen lays itself out in its will-appear with the size it
  // will have; what it changes there (the bar) may move it again.
  placeContent(*to);
  if (from) from->viewWillDisappear(animated);
  to->viewWillAppear(animated);
  Rect target = frameForContent(*to);
  updateBar();
  double width = container_->bounds().width();
  toView->setFrame(transition_->animated ? target.offsetBy(push ? width : -width * 0.3, 0) : target);
  if (push || !from) {
    container_->addSubview(toView);
  } else {
    container_->insertSubviewBelow(toView, from->view());
  }

  if (!transition_->animated) {
    finishTransition();
    return;
  }
  transition_->start = currentMediaTime();
  std::weak_ptr<ViewController> weakSelf = weak_from_this();
  transition_->timer = Timer::scheduled(1.0 / 60, true, [weakSelf, target, width](Timer& timer) {
    auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock());
    if (!self || !self->transition_) {
      timer.invalidate();
      return;
    }
    Transition& t = *self->transition_;
    double k = std::min(1.0, (currentMediaTime() - t.start) / slideSeconds);
    double eased = 1 - (1 - k) * (1 - k) * (1 - k);
    auto toView = t.to->view();
    if (t.push) {
      toView->setFrame(target.offsetBy(width * (1 - eased), 0));
      if (t.from) t.from->view()->setFrame(self->frameForContent(*t.from).offsetBy(-width * 0.3 * eased, 0));
    } else {
      toView->setFrame(target.offsetBy(-width * 0.3 * (1 - eased), 0));
      if (t.from) t.from->view()->setFrame(self->frameForContent(*t.from).offsetBy(width * eased, 0));
    }
    if (k >= 1) {
      timer.invalidate();
      self->finishTransition();
    }
  });
}

void NavigationController::finishTransition() {
  auto t = std::move(transition_);
  bool animated = t->animated;
  if (t->from) {
    t->from->view()->removeFromSuperview();
    placeContent(*t->from);
  }
  placeContent(*t->to);
  shown_ = t->to;
  if (t->from) t->from->viewDidDisappear(animated);
  t->to->viewDidAppear(animated);
  if (t->from && std::find(stack_.begin(), stack_.end(), t->from) == stack_.end()) {
    t->from->removeFromParentViewController();
  }
  endBusy();
  // Pushes or pops asked for during the move.
  if (topViewController() != shown_) runPendingTransition();
}

bool NavigationController::isTransitioning() const { return transition_ != nullptr || transitionScheduled_; }

void NavigationController::setNavigationBarHidden(bool hidden, bool animated) {
  view();
  if (hidden == barHidden_) return;
  barHidden_ = hidden;
  if (animated && !animationsInstant() && appeared_) {
    // A short fade; the content moves at once so frames stay exact.
    bar_->setHidden(false);
    double from = hidden ? 1 : 0, to = hidden ? 0 : 1;
    bar_->setOpacity(from);
    double start = currentMediaTime();
    auto bar = bar_;
    auto fade = std::make_shared<std::shared_ptr<Timer>>();
    *fade = Timer::scheduled(1.0 / 60, true, [bar, from, to, start, hidden, fade](Timer& timer) {
      double k = std::min(1.0, (currentMediaTime() - start) / barFadeSeconds);
      bar->setOpacity(from + (to - from) * k);
      if (k >= 1) {
        bar->setHidden(hidden);
        bar->setOpacity(1);
        timer.invalidate();
        fade->reset();  // breaks the cycle between the timer and its closure
      }
    });
  } else {
    bar_->setHidden(hidden);
    bar_->setOpacity(1);
  }
  layoutContent();
}

void NavigationController::layoutContent() {
  if (shown_ && !transition_) placeContent(*shown_);
}

void NavigationController::refreshNavigationBar() { updateBar(); }

void NavigationController::updateBar() {
  if (!bar_) return;
  auto top = transition_ ? transition_->to : topViewController();
  if (!top) return;
  auto it = std::find(stack_.begin(), stack_.end(), top);
  bool hasBack = it != stack_.end() && it != stack_.begin();
  bar_->setBackTitle(hasBack ? (*(it - 1))->title() : std::string(), hasBack);
  bar_->setTitle(top->title());
  bar_->setRightItem(top->rightBarButtonItem());
}

void NavigationController::viewWillAppear(bool animated) {
  auto top = topViewController();
  if (!top) return;
  if (!shown_) {
    shown_ = top;
    pending_.clear();
    auto v = top->view();
    placeContent(*top);
    top->viewWillAppear(animated);
    placeContent(*top);
    container_->addSubview(v);
    updateBar();
  } else {
    top->viewWillAppear(animated);
  }
}

void NavigationController::viewDidAppear(bool animated) {
  appeared_ = true;
  if (shown_) shown_->viewDidAppear(animated);
}

void NavigationController::viewWillDisappear(bool animated) {
  if (shown_) shown_->viewWillDisappear(animated);
}

void NavigationController::viewDidDisappear(bool animated) {
  appeared_ = false;
  if (shown_) shown_->viewDidDisappear(animated);
}

}  // namespace ui
