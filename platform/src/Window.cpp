#include "ui/Window.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Private.h"
#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/GraphicsContext.h"
#include "ui/Image.h"
#include "ui/Screen.h"
#include "ui/ViewController.h"

namespace ui {
namespace {

Window* currentKeyWindow = nullptr;

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

// Touch state of the one pointer a desktop has.
struct TouchState {
  std::shared_ptr<View> target;
  Point start;
  bool dragging = false;
};
static TouchState touch;

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

static std::function<void(Window&)>& firstFrameObserver() {
  static std::function<void(Window&)> observer;
  return observer;
}

void Window::setFirstFrameObserver(std::function<void(Window&)> observer) {
  firstFrameObserver() = std::move(observer);
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
    touch = TouchState{hit, p, false};
    if (hit) hit->touchesBegan(Touch{p});
  });
}

void WindowHost::mouseMoveEvent(QMouseEvent* event) {
  guarded([&] {
    Point p = toPoints(event->position());
    window_.pointer_ = p;
    if (!touch.target) return;
    if (!touch.dragging && std::hypot(p.x - touch.start.x, p.y - touch.start.y) > 8) {
      touch.dragging = true;
      for (auto v = touch.target->superview(); v; v = v->superview()) {
        if (v->takesOverDrags() && !controlBetween(touch.target.get(), v.get())) {
          touch.target->touchesCancelled(Touch{p});
          touch.target = v;
          v->touchesBegan(Touch{touch.start});
          break;
        }
      }
    }
    touch.target->touchesMoved(Touch{p});
  });
}

void WindowHost::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  guarded([&] {
    auto target = std::move(touch.target);
    touch = TouchState{};
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

Window::Window(const Rect& frame) : View(frame) {
  Application::ensure();
  window_ = this;
  host_ = std::make_unique<WindowHost>(*this);
  setBackgroundColor(Color::black());
}

Window::~Window() {
  if (currentKeyWindow == this) currentKeyWindow = nullptr;
  // Screens and views go while the host still exists: taking a view out
  // (as a screen's teardown may) asks the window for a repaint.
  setRootViewController(nullptr);
  while (!subviews().empty()) subviews().back()->removeFromSuperview();
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
  if (rootViewController_) {
    if (rootViewController_->isViewLoaded()) rootViewController_->view()->removeFromSuperview();
  }
  rootViewController_ = std::move(controller);
  if (!rootViewController_) return;
  auto view = rootViewController_->view();
  view->setFrame(bounds());
  bool visible = isVisible();
  if (visible) rootViewController_->viewWillAppear(false);
  insertSubview(view, 0);
  if (visible) rootViewController_->viewDidAppear(false);
}

void Window::makeKeyAndVisible() {
  currentKeyWindow = this;
  if (host_->isVisible()) return;
  if (rootViewController_) rootViewController_->viewWillAppear(false);
  host_->show();
  host_->activateWindow();
  host_->setFocus();
  if (rootViewController_) rootViewController_->viewDidAppear(false);
}

bool Window::isKeyWindow() const { return currentKeyWindow == this; }
bool Window::isVisible() const { return host_ && host_->isVisible(); }
Window* Window::keyWindow() { return currentKeyWindow; }

void Window::presentOverlay(const std::shared_ptr<View>& overlay) {
  overlay->setFrame(bounds());
  addSubview(overlay);
}

void Window::setFirstResponder(const std::shared_ptr<View>& view) {
  auto old = firstResponder_.lock();
  if (old == view) return;
  firstResponder_ = view;
  if (old) old->didResignFirstResponder();
  if (view) {
    host_->setFocus();
    view->didBecomeFirstResponder();
  }
}

void Window::setNeedsDisplayInRect(const Rect& r) {
  if (!host_) return;
  double z = host_->zoom();
  host_->update(QRectF(r.x() * z, r.y() * z, r.width() * z, r.height() * z).toAlignedRect().adjusted(-1, -1, 1, 1));
}

void Window::layoutSubviews() {
  if (rootViewController_ && rootViewController_->isViewLoaded()) rootViewController_->view()->setFrame(bounds());
}

namespace {

QImage paintWindow(const Window& window, double scale) {
  Rect b = window.bounds();
  QImage image(int(std::lround(b.width() * scale)), int(std::lround(b.height() * scale)),
               QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  {
    QPainter painter(&image);
    window.host()->paintTree(painter, QRect(0, 0, int(b.width()), int(b.height())));
  }
  return image;
}

}  // namespace

bool Window::renderToPNG(const std::string& path, double scale) const {
  return paintWindow(*this, scale).save(toQt(path), "PNG");
}

std::shared_ptr<Image> Window::snapshot(double scale) const {
  return std::make_shared<Image>(std::make_shared<ImageData>(paintWindow(*this, scale)), scale);
}

}  // namespace ui
