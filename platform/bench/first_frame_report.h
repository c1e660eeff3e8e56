#pragma once

// For start-up probes only, never a shipped program: writes the resident
// memory (kB) to the file UI_BENCH_FIRST_FRAME names and ends the process at
// once. Called at the probe's first painted frame.
#include <cstdio>
#include <cstdlib>

inline void reportFirstFrameAndExit() {
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
