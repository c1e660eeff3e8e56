#include "ui/Window.h"

#include <QImage>
#include <QPainter>
#include <cmath>

#include "ImageData.h"
#include "QtConversions.h"
#include "WindowHost.h"
#include "ui/Application.h"
#include "ui/Image.h"
#include "ui/ViewController.h"

namespace ui {
namespace {

Window* currentKeyWindow = nullptr;

}  // namespace

void Window::setFirstFrameObserver(std::function<void(Window&)> observer) {
  WindowHost::firstFrameObserver() = std::move(observer);
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
