#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "ui/Geometry.h"

namespace ui {

class View;
class Window;

// The desktop window that shows a ui::Window's tree and turns the desktop's
// pointer, wheel and keys into its touches and commands. The ui::Window owns
// it and outlives it.
class WindowHost : public QWidget {
 public:
  explicit WindowHost(Window& window);
  // Paints the tree into `painter`, whose units are points; `dirty` is in
  // points too.
  void paintTree(QPainter& painter, const QRect& dirty);
  // Desktop pixels per point of the window (Screen::windowZoom).
  int zoom() const { return zoom_; }
  // Called once, after the first frame of any window has been painted.
  static std::function<void(Window&)>& firstFrameObserver();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  // Tab belongs to the window's own fields, not to Qt's widget focus chain.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  // The one pointer a desktop has, from press to release: the view it
  // touches (a scrolling ancestor once a drag takes it over) and where it
  // went down, in window points.
  struct TouchState {
    std::shared_ptr<View> target;
    Point start;
    bool dragging = false;
  };

  Point toPoints(const QPointF& position) const;
  Window& window_;
  int zoom_ = 1;
  TouchState touch_;
};

}  // namespace ui
