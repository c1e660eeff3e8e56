#pragma once

// Internals shared by the platform's sources; the only place Qt types meet
// the ui:: types.
#include <QColor>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Geometry.h"
#include "ui/View.h"

class QKeyEvent;

namespace ui {

class Window;

class ImageData {
 public:
  explicit ImageData(QImage image) : image(std::move(image)) {}
  QImage image;  // ARGB32 premultiplied
};

class PainterState {
 public:
  explicit PainterState(QPainter& painter) : painter(painter) {}
  QPainter& painter;
};

class PlatformEvent {
 public:
  explicit PlatformEvent(QEvent& event) : event(event) {}
  QEvent& event;
};

inline QRectF toQt(const Rect& r) { return QRectF(r.x(), r.y(), r.width(), r.height()); }
inline QPointF toQt(const Point& p) { return QPointF(p.x, p.y); }
inline Point fromQt(const QPointF& p) { return Point{p.x(), p.y()}; }
inline QColor toQt(const Color& c) { return QColor::fromRgbF(c.red, c.green, c.blue, c.alpha); }
inline QString toQt(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
inline std::string fromQt(const QString& s) { return s.toUtf8().toStdString(); }
QFont toQt(const Font& font);

// The command a key stands for, if any (KeyCommands.cpp).
std::optional<KeyCommand> keyCommandFor(const QKeyEvent& event);
// Commands a focused text field never sees: leaving the screen or the field.
bool goesPastFocusedField(KeyCommand command);

// The desktop window that shows a ui::Window's tree.
class WindowHost : public QWidget {
 public:
  explicit WindowHost(Window& window);
  void paintTree(QPainter& painter, const QRect& dirty);
  // Desktop pixels per point of the window (Screen::windowZoom).
  int zoom() const { return zoom_; }

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
  Point toPoints(const QPointF& position) const;
  Window& window_;
  int zoom_ = 1;
};

// Runs `fn`; an exception escaping it goes to the uncaught-exception handler
// and the process aborts. Every entry from Qt into our code goes through it.
void guarded(const std::function<void()>& fn);

// Transitions and one-shot work that the test driver waits for.
void beginBusy();
void endBusy();
int busyCount();
bool animationsInstant();
void setAnimationsInstant(bool instant);

}  // namespace ui
