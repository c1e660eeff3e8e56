// The baseline for start-up benchmarks: the least a Qt program does to show a
// window with text in a registered font. Ends after its first painted frame.
#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {
class Probe : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawText(20, 40, "Gorvane");
    painter.end();
    long rss = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
      char line[256];
      while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmRSS: %ld", &rss) == 1) break;
      }
      std::fclose(status);
    }
    if (const char* path = std::getenv("UI_BENCH_FIRST_FRAME")) {
      if (FILE* out = std::fopen(path, "w")) {
        std::fprintf(out, "%ld\n", rss);
        std::fclose(out);
      }
    }
    std::_Exit(0);
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
