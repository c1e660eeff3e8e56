// Linked only into start-up probes (the platform's and Gorvane's own): when
// UI_BENCH_FIRST_FRAME names a file, the first frame a window paints reports
// there and ends the process.
#include "first_frame_report.h"

#include "ui/Window.h"

namespace {

// Set up while the probe loads, before its main() runs.
const bool installed = [] {
  if (std::getenv("UI_BENCH_FIRST_FRAME")) {
    ui::Window::setFirstFrameObserver([](ui::Window&) { reportFirstFrameAndExit(); });
  }
  return true;
}();

}  // namespace
