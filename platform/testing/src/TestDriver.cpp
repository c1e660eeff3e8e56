#include "ui/TestDriver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QWheelEvent>

#include "BusyCount.h"
#include "QtConversions.h"
#include "WindowHost.h"
#include "ui/Application.h"
#include "ui/View.h"
#include "ui/Window.h"

namespace ui {
namespace {

// Where a point of the window lies on the desktop window, which may show
// each point as several pixels.
QPointF onDesktop(Window& window, Point p) { return QPointF(p.x, p.y) * window.host()->zoom(); }

void sendMouse(Window& window, QEvent::Type type, Point p, Qt::MouseButtons buttons) {
  QPointF at = onDesktop(window, p);
  Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, at, at, button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(window.host(), &event);
}

}  // namespace

TestDriver::TestDriver(bool instantAnimations) {
  Application::ensure();
  setAnimationsInstant(instantAnimations);
}

void TestDriver::tap(const View& view) {
  Window* window = view.window();
  if (!window) return;
  Rect b = view.bounds();
  tap(*window, view.convertToWindow(Point{b.x() + b.width() / 2, b.y() + b.height() / 2}));
}

void TestDriver::tap(Window& window, Point p) {
  sendMouse(window, QEvent::MouseButtonPress, p, Qt::LeftButton);
  sendMouse(window, QEvent::MouseButtonRelease, p, Qt::NoButton);
}

void TestDriver::drag(Window& window, Point from, Point to, int steps) {
  sendMouse(window, QEvent::MouseButtonPress, from, Qt::LeftButton);
  for (int i = 1; i <= steps; ++i) {
    double k = double(i) / steps;
    sendMouse(window, QEvent::MouseMove, Point{from.x + (to.x - from.x) * k, from.y + (to.y - from.y) * k},
              Qt::LeftButton);
  }
  sendMouse(window, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

void TestDriver::hover(Window& window, Point at) { sendMouse(window, QEvent::MouseMove, at, Qt::NoButton); }

void TestDriver::wheel(Window& window, Point at, double dy) {
  QPointF p = onDesktop(window, at);
  QWheelEvent event(p, p, QPoint(0, int(-dy)), QPoint(0, int(-dy / 40.0 * 120)), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(window.host(), &event);
}

void TestDriver::type(Window& window, const std::string& text, bool endEditing) {
  QString s = toQt(text);
  for (QChar c : s) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(window.host(), &press);
  }
  if (endEditing) pressReturn(window);
}

void TestDriver::pressReturn(Window& window) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QCoreApplication::sendEvent(window.host(), &press);
}

void TestDriver::pressKeys(Window& window, const std::string& sequence) {
  QKeySequence keys = QKeySequence::fromString(toQt(sequence), QKeySequence::PortableText);
  if (keys.isEmpty()) return;
  QKeyCombination combination = keys[0];
  QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
  QCoreApplication::sendEvent(window.host(), &press);
}

void TestDriver::loseFocus(Window& window) {
  QFocusEvent event(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(window.host(), &event);
}

void TestDriver::runUntilIdle(double maxSeconds) {
  QElapsedTimer clock;
  clock.start();
  int quietRounds = 0;
  while (clock.elapsed() < maxSeconds * 1000) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    quietRounds = busyCount() == 0 ? quietRounds + 1 : 0;
    if (quietRounds >= 3) break;
  }
}

bool TestDriver::runUntil(const std::function<bool()>& done, double maxSeconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > maxSeconds * 1000) return false;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
  }
  return true;
}

bool TestDriver::renderToPNG(const Window& window, const std::string& path, double scale) {
  return window.renderToPNG(path, scale);
}

}  // namespace ui
