// Linked only into start-up probes, never into a shipped program: when
// UI_BENCH_FIRST_FRAME names a file, the first painted frame writes the
// resident memory (kB) there and ends the process at once.
#include <cstdio>
#include <cstdlib>

#include "ui/Window.h"

namespace {

void reportFirstFrame(const char* path) {
  long rss = 0;
  if (FILE* status = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
      if (std::sscanf(line, "VmRSS: %ld", &rss) == 1) break;
    }
    std::fclose(status);
  }
  if (FILE* out = std::fopen(path, "w")) {
    std::fprintf(out, "%ld\n", rss);
    std::fclose(out);
  }
  std::_Exit(0);
}

// Set up while the probe loads, before its main() runs.
const bool installed = [] {
  if (const char* path = std::getenv("UI_BENCH_FIRST_FRAME")) {
    ui::Window::setFirstFrameObserver([path](ui::Window&) { reportFirstFrame(path); });
  }
  return true;
}();

}  // namespace
