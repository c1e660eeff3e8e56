#include "WindowHost.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>
#include <cmath>

#include "Guarded.h"
#include "KeyCommands.h"
#include "PainterState.h"
#include "PlatformEvent.h"
#include "QtConversions.h"
#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/GraphicsContext.h"
#include "ui/Screen.h"
#include "ui/Window.h"

namespace ui {
namespace {

void paintView(QPainter& painter, GraphicsContext& context, View& view, bool isRoot) {
  if (view.isHidden() || view.opacity() <= 0) return;
  painter.save();
  if (!isRoot) painter.translate(view.frame().x(), view.frame().y());
  painter.setOpacity(painter.opacity() * view.opacity());
  Rect bounds = view.bounds();
  if (view.clipsToBounds()) painter.setClipRect(QRectF(0, 0, bounds.width(), bounds.height()), Qt::IntersectClip);
  painter.translate(-bounds.x(), -bounds.y());
  context.fillRect(bounds, view.backgroundColor());
  view.draw(context, bounds);
  for (const auto& sub : view.subviews()) paintView(painter, context, *sub, false);
  view.drawOverSubviews(context, bounds);
  painter.restore();
}

// Whether the view a touch started on gives the touch up when a scrolling
// ancestor starts to drag: controls keep theirs (a slider in a table row).
bool controlBetween(const View* from, const View* ancestor) {
  for (const View* v = from; v && v != ancestor; v = v->superview().get()) {
    if (dynamic_cast<const Control*>(v)) return true;
  }
  return false;
}

}  // namespace

WindowHost::WindowHost(Window& window) : window_(window) {
  setWindowTitle("Gorvane");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_InputMethodEnabled);
  setFocusPolicy(Qt::StrongFocus);
  // The pointer is followed even without a button down: the scrolling keys
  // act on the table under it.
  setMouseTracking(true);
  zoom_ = Screen::main().windowZoom();
  Rect f = window.frame();
  setFixedSize(int(std::lround(f.width() * zoom_)), int(std::lround(f.height() * zoom_)));
}

Point WindowHost::toPoints(const QPointF& position) const { return fromQt(position / zoom_); }

void WindowHost::paintTree(QPainter& painter, const QRect& dirty) {
  painter.fillRect(dirty, Qt::black);
  PainterState state(painter);
  GraphicsContext context(state);
  paintView(painter, context, window_, true);
}

std::function<void(Window&)>& WindowHost::firstFrameObserver() {
  static std::function<void(Window&)> observer;
  return observer;
}

void WindowHost::paintEvent(QPaintEvent* event) {
  guarded([&] {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.scale(zoom_, zoom_);
    QRectF dirty(event->rect());
    paintTree(painter, QRectF(dirty.topLeft() / zoom_, dirty.size() / zoom_).toAlignedRect());
  });
  if (++window_.paintedFrames_ == 1 && firstFrameObserver()) firstFrameObserver()(window_);
}

void WindowHost::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  guarded([&] {
    Point p = toPoints(event->position());
    window_.pointer_ = p;
    auto hit = window_.hitTest(p);
    if (auto responder = window_.firstResponder(); responder && (!hit || !hit->isDescendantOf(*responder))) {
      // Pressing anywhere else ends editing, as leaving a field does.
      responder->resignFirstResponder();
    }
    touch_ = TouchState{hit, p, false};
    if (hit) hit->touchesBegan(Touch{p});
  });
}

void WindowHost::mouseMoveEvent(QMouseEvent* event) {
  guarded([&] {
    Point p = toPoints(event->position());
    window_.pointer_ = p;
    if (!touch_.target) return;
    if (!touch_.dragging && std::hypot(p.x - touch_.start.x, p.y - touch_.start.y) > 8) {
      touch_.dragging = true;
      for (auto v = touch_.target->superview(); v; v = v->superview()) {
        if (v->takesOverDrags() && !controlBetween(touch_.target.get(), v.get())) {
          touch_.target->touchesCancelled(Touch{p});
          touch_.target = v;
          v->touchesBegan(Touch{touch_.start});
          break;
        }
      }
    }
    touch_.target->touchesMoved(Touch{p});
  });
}

void WindowHost::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  guarded([&] {
    auto target = std::move(touch_.target);
    touch_ = TouchState{};
    if (target) target->touchesEnded(Touch{toPoints(event->position())});
  });
}

void WindowHost::wheelEvent(QWheelEvent* event) {
  guarded([&] {
    Point p = toPoints(event->position());
    window_.pointer_ = p;
    auto hit = window_.hitTest(p);
    QPointF pixels = event->pixelDelta();
    // A wheel notch (120) scrolls about three rows of a table.
    QPointF delta = !pixels.isNull() ? pixels / zoom_ : QPointF(event->angleDelta()) / 120.0 * 40.0;
    if (hit) hit->scrollWheel(-delta.x(), -delta.y());
  });
}

void WindowHost::keyPressEvent(QKeyEvent* event) {
  guarded([&] {
    // The focused field types what it can; leaving keys (Escape, Tab) and
    // what it leaves alone (Up, Page Down) are the window's.
    auto responder = window_.firstResponder();
    auto command = keyCommandFor(*event);
    PlatformEvent e(*event);
    bool toField = responder && !(command && goesPastFocusedField(*command));
    if (toField && responder->handlePlatformEvent(e)) return;
    if (!command || !window_.runKeyCommand(*command)) QWidget::keyPressEvent(event);
  });
}

void WindowHost::inputMethodEvent(QInputMethodEvent* event) {
  guarded([&] {
    if (auto responder = window_.firstResponder()) {
      PlatformEvent e(*event);
      responder->handlePlatformEvent(e);
    }
  });
}

void WindowHost::closeEvent(QCloseEvent* event) {
  event->ignore();
  guarded([] {
    if (auto* app = Application::shared()) {
      app->enterBackground();
      app->quit(0);
    }
  });
}

bool WindowHost::event(QEvent* event) {
  if (event->type() == QEvent::Leave) window_.pointer_.reset();
  if (event->type() == QEvent::FocusOut) {
    guarded([&] {
      // Leaving the window ends editing, so a typed value is never lost.
      if (auto responder = window_.firstResponder()) responder->resignFirstResponder();
    });
  }
  return QWidget::event(event);
}

}  // namespace ui
