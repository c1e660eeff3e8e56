// The baseline for start-up benchmarks: the least a Qt program does to show a
// window with text in a registered font. Ends after its first painted frame.
#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QWidget>

#include "first_frame_report.h"

namespace {
class Probe : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawText(20, 40, "Gorvane");
    painter.end();
    reportFirstFrameAndExit();
  }
};
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc > 1) QFontDatabase::addApplicationFont(argv[1]);
  Probe probe;
  probe.setFixedSize(568, 320);
  probe.show();
  return app.exec();
}
