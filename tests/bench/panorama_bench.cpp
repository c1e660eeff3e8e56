// The panning panorama behind every screen: it pans by itself in a real
// window for two seconds and the process's CPU time over the wall time is
// reported.
//
//   build/bin/panorama_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only
//
// The demo game's pictures are found through TARNBOOK_GAME_APP, else
// GORVANE_SOURCE_DIR/demo/app, else the source tree above the build folder.
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "Bevel/BVLImage.h"
#include "Bevel/BVLPanorama.h"
#include "ui/TestDriver.h"
#include "ui/Timer.h"
#include "ui/Window.h"

namespace {
namespace fs = std::filesystem;

std::string gameBundle() {
  if (const char* app = std::getenv("TARNBOOK_GAME_APP")) return app;
  if (const char* root = std::getenv("GORVANE_SOURCE_DIR")) return std::string(root) + "/demo/app";
  return (fs::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path() / "demo/app").string();
}

double processSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

bool prepare(benchmark::State& state) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static ui::TestDriver driver;
  bvl_setGameBundlePath(gameBundle());
  if (!bvl_imageNamed("background/panorama_0", "png")) {
    state.SkipWithError("the demo game's panorama pictures were not found");
    return false;
  }
  return true;
}

// The real thing: a shown window whose panorama moves, for two seconds a
// run. Argument 0: the panorama pans on its own timer (a device pixel moves
// ten times a second); 30: a 30 Hz timer moves it a point every tick, so
// every tick paints a frame; -1: it stands still, as behind a covering
// screen, which must cost next to nothing.
void BM_PanningWindow(benchmark::State& state) {
  if (!prepare(state)) return;
  static ui::TestDriver driver;
  auto window = std::make_shared<ui::Window>(ui::Rect(0, 0, 568, 320));
  auto panorama = std::make_shared<BVLPanorama>(ui::Rect(0, 0, 568, 320));
  window->addSubview(panorama);
  window->makeKeyAndVisible();
  std::shared_ptr<ui::Timer> stepper;
  if (state.range(0) > 0) {
    stepper = ui::Timer::scheduled(1.0 / double(state.range(0)), true,
                                   [panorama](ui::Timer&) { panorama->setOffset(panorama->offset() + 1); });
  } else if (state.range(0) == 0) {
    panorama->pan();
  }
  double cpu = 0, wall = 0;
  unsigned long frames = 0;
  for (auto _ : state) {
    unsigned long framesBefore = window->paintedFrames();
    double cpuBefore = processSeconds(), wallBefore = ui::currentMediaTime();
    while (ui::currentMediaTime() - wallBefore < 2) {
      usleep(5000);  // a light poll; the timer fires every 33 ms
      driver.runUntilIdle(0.01);
    }
    cpu += processSeconds() - cpuBefore;
    wall += ui::currentMediaTime() - wallBefore;
    frames += window->paintedFrames() - framesBefore;
  }
  panorama->setShouldPan(false);
  if (stepper) stepper->invalidate();
  state.counters["core_share"] = cpu / wall;
  state.counters["frames_per_second"] = double(frames) / wall;
}
BENCHMARK(BM_PanningWindow)->Arg(-1)->Arg(0)->Arg(30)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
