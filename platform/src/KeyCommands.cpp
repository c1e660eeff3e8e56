// The keyboard's way around the screens: going back, alerts, moving between
// text fields and scrolling, for every screen alike.
#include "KeyCommands.h"

#include <QKeyEvent>
#include <algorithm>

#include "ui/NavigationController.h"
#include "ui/ScrollView.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace ui {

std::optional<KeyCommand> keyCommandFor(const QKeyEvent& event) {
  Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  bool plain = modifiers == Qt::NoModifier;
  switch (event.key()) {
    case Qt::Key_Escape:
      return KeyCommand::Cancel;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return KeyCommand::Confirm;
    case Qt::Key_Back:
      return KeyCommand::Back;
    case Qt::Key_Backtab:
      return KeyCommand::PreviousField;
    case Qt::Key_Tab:
      if (plain) return KeyCommand::NextField;
      if (modifiers == Qt::ShiftModifier) return KeyCommand::PreviousField;
      return std::nullopt;
    case Qt::Key_Left:
      if (modifiers == Qt::AltModifier) return KeyCommand::Back;
      return plain ? std::optional(KeyCommand::LineLeft) : std::nullopt;
    case Qt::Key_Right:
      return plain ? std::optional(KeyCommand::LineRight) : std::nullopt;
    case Qt::Key_Up:
      return plain ? std::optional(KeyCommand::LineUp) : std::nullopt;
    case Qt::Key_Down:
      return plain ? std::optional(KeyCommand::LineDown) : std::nullopt;
    case Qt::Key_PageUp:
      return plain ? std::optional(KeyCommand::PageUp) : std::nullopt;
    case Qt::Key_PageDown:
      return plain ? std::optional(KeyCommand::PageDown) : std::nullopt;
    case Qt::Key_Home:
      return plain || modifiers == Qt::ControlModifier ? std::optional(KeyCommand::Home) : std::nullopt;
    case Qt::Key_End:
      return plain || modifiers == Qt::ControlModifier ? std::optional(KeyCommand::End) : std::nullopt;
    case Qt::Key_Delete:
      return plain ? std::optional(KeyCommand::Delete) : std::nullopt;
    // + is shifted on many keyboards, and = shares its key.
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return plain || modifiers == Qt::ShiftModifier ? std::optional(KeyCommand::ZoomIn) : std::nullopt;
    case Qt::Key_Minus:
      return plain ? std::optional(KeyCommand::ZoomOut) : std::nullopt;
    default:
      return std::nullopt;
  }
}

bool goesPastFocusedField(KeyCommand command) {
  return command == KeyCommand::Cancel || command == KeyCommand::Back || command == KeyCommand::NextField ||
         command == KeyCommand::PreviousField;
}

namespace {

// The navigation stack on display: the deepest one along the screens shown.
std::shared_ptr<NavigationController> shownNavigation(std::shared_ptr<ViewController> controller) {
  std::shared_ptr<NavigationController> found;
  while (controller) {
    if (auto navigation = std::dynamic_pointer_cast<NavigationController>(controller)) {
      found = navigation;
      controller = navigation->topViewController();
    } else {
      const auto& children = controller->childViewControllers();
      controller = children.empty() ? nullptr : children.back();
    }
  }
  return found;
}

struct Shown {
  std::shared_ptr<View> view;
  Rect rect;  // the part on screen, window coordinates
};

// Views that can be seen and touched inside `view`, with the part of each that
// shows through its clipping ancestors.
template <typename Wanted>
void collectShown(const std::shared_ptr<View>& view, Rect visible, const Wanted& wanted, std::vector<Shown>& out) {
  if (view->isHidden() || view->opacity() <= 0 || !view->isUserInteractionEnabled()) return;
  Rect frame = view->convertRectToWindow(view->bounds());
  Rect shown = frame.intersection(visible);
  if (shown.isEmpty()) return;
  if (wanted(*view)) out.push_back({view, shown});
  if (view->clipsToBounds()) visible = shown;
  for (const auto& sub : view->subviews()) collectShown(sub, visible, wanted, out);
}

// Reading order: lines from the top, each line from the left. A view joins
// the line of the one above when their heights overlap past the middle.
void sortInReadingOrder(std::vector<Shown>& views) {
  std::stable_sort(views.begin(), views.end(), [](const Shown& a, const Shown& b) { return a.rect.y() < b.rect.y(); });
  auto line = views.begin();
  while (line != views.end()) {
    auto end = line + 1;
    while (end != views.end() && end->rect.y() + end->rect.height() / 2 < line->rect.maxY()) ++end;
    std::stable_sort(line, end, [](const Shown& a, const Shown& b) { return a.rect.x() < b.rect.x(); });
    line = end;
  }
}

std::vector<Shown> shownFields(Window& window) {
  std::vector<Shown> fields;
  collectShown(
      window.shared_from_this(), window.bounds(), [](const View& v) { return v.canBecomeFirstResponder(); }, fields);
  sortInReadingOrder(fields);
  return fields;
}

bool focus(const std::shared_ptr<View>& view) {
  if (!view->becomeFirstResponder()) return false;
  // As on a desktop, a field reached by Tab has its text selected, and the
  // tables around it scroll to show it whole.
  if (auto field = std::dynamic_pointer_cast<TextField>(view)) field->selectAll();
  for (auto v = view->superview(); v; v = v->superview()) {
    if (auto scroll = std::dynamic_pointer_cast<ScrollView>(v)) {
      Rect inWindow = view->convertRectToWindow(view->bounds());
      scroll->scrollRectToVisible(Rect(scroll->convertFromWindow(inWindow.origin), inWindow.size), false);
    }
  }
  return true;
}

// The scroll views around a view, innermost first.
std::vector<std::shared_ptr<ScrollView>> scrollViewsAround(const std::shared_ptr<View>& view) {
  std::vector<std::shared_ptr<ScrollView>> found;
  for (auto v = view ? view->superview() : nullptr; v; v = v->superview()) {
    if (auto scroll = std::dynamic_pointer_cast<ScrollView>(v)) found.push_back(scroll);
  }
  return found;
}

// Tab goes on to the next field in reading order. A table only has the rows
// on screen, so past the last field shown the table around the field turns a
// page to find more; at its end it starts again from the top (Shift+Tab:
// the other way round).
bool moveFocus(Window& window, bool forward) {
  // Those around the field focused first: turning a page may take its cell
  // (and the focus) away.
  std::vector<std::shared_ptr<ScrollView>> scrollViews;
  for (;;) {
    std::vector<Shown> fields = shownFields(window);
    auto responder = window.firstResponder();
    auto current = std::find_if(fields.begin(), fields.end(), [&](const Shown& s) { return s.view == responder; });
    if (current == fields.end() && !fields.empty()) return focus(forward ? fields.front().view : fields.back().view);
    // A page turned to rows without fields turns on, then wraps.
    if (current != fields.end()) {
      long next = long(current - fields.begin()) + (forward ? 1 : -1);
      if (next >= 0 && next < long(fields.size())) return focus(fields[size_t(next)].view);
    }
    if (responder) scrollViews = scrollViewsAround(responder);
    bool turned = std::any_of(scrollViews.begin(), scrollViews.end(), [&](const std::shared_ptr<ScrollView>& scroll) {
      return scroll->scrollForKey(forward ? KeyCommand::PageDown : KeyCommand::PageUp);
    });
    if (turned) continue;  // the field may have left the screen: then the first one shown is next
    if (!scrollViews.empty()) {
      scrollViews.front()->scrollForKey(forward ? KeyCommand::Home : KeyCommand::End);
      fields = shownFields(window);
    }
    return !fields.empty() && focus(forward ? fields.front().view : fields.back().view);
  }
}

bool scrollShown(Window& window, KeyCommand command) {
  if (auto pointer = window.pointerLocation(); pointer && window.bounds().contains(*pointer)) {
    bool overScrollView = false;
    for (auto v = window.hitTest(*pointer); v; v = v->superview()) {
      if (auto scroll = std::dynamic_pointer_cast<ScrollView>(v)) {
        overScrollView = true;
        if (scroll->scrollForKey(command)) return true;  // else an outer one may still move
      }
    }
    if (overScrollView) return false;
  }
  // The pointer is over no table: the keys still work, on the biggest one.
  std::vector<Shown> scrollViews;
  collectShown(
      window.shared_from_this(), window.bounds(),
      [](const View& v) { return dynamic_cast<const ScrollView*>(&v) != nullptr; }, scrollViews);
  auto biggest = std::max_element(scrollViews.begin(), scrollViews.end(), [](const Shown& a, const Shown& b) {
    return a.rect.width() * a.rect.height() < b.rect.width() * b.rect.height();
  });
  return biggest != scrollViews.end() && std::static_pointer_cast<ScrollView>(biggest->view)->scrollForKey(command);
}

}  // namespace

bool Window::runKeyCommand(KeyCommand command) {
  auto controller = rootViewController();
  std::shared_ptr<View> root = controller && controller->isViewLoaded() ? controller->view() : nullptr;
  // A view floating over the screen (an alert) hears it first.
  std::shared_ptr<View> top = subviews().empty() ? nullptr : subviews().back();
  if (top && top != root && top->performKeyCommand(command)) return true;
  // Then the screen on show, for keys it gives a meaning of its own.
  if (auto navigation = shownNavigation(controller)) {
    if (auto screen = navigation->topViewController(); screen && screen->performKeyCommand(command)) return true;
  }
  switch (command) {
    case KeyCommand::Cancel: {
      std::vector<Shown> shown;
      collectShown(
          shared_from_this(), bounds(), [](const View&) { return true; }, shown);
      for (auto v = shown.rbegin(); v != shown.rend(); ++v) {
        if (v->view->performKeyCommand(command)) return true;
      }
      [[fallthrough]];
    }
    case KeyCommand::Back: {
      auto navigation = shownNavigation(controller);
      return navigation && navigation->goBack();
    }
    case KeyCommand::Confirm:
    case KeyCommand::Delete:
    case KeyCommand::ZoomIn:
    case KeyCommand::ZoomOut:
      return false;
    case KeyCommand::NextField:
    case KeyCommand::PreviousField:
      return moveFocus(*this, command == KeyCommand::NextField);
    default:
      return scrollShown(*this, command);
  }
}

}  // namespace ui
