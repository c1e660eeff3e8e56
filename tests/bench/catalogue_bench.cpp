// The item catalogue with today's names added (about 2,100 rows): what the
// 36 pictures of a full inventory grid of today's items cost the first time
// they are cut from the atlases.
//
//   build/bin/catalogue_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only
//
// The table and the demo game's pictures are found under GORVANE_SOURCE_DIR,
// else the source tree above the build folder.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "Bevel/BVLImage.h"
#include "Bevel/BVLItemIDSource.h"
#include "ui/TestDriver.h"

namespace {
namespace fs = std::filesystem;

fs::path sourceTree() {
  if (const char* root = std::getenv("GORVANE_SOURCE_DIR")) return root;
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path();
}

const std::string& table() {
  static const std::string text = [] {
    std::ifstream in(sourceTree() / "frameworks/Bevel/data/items.tsv");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }();
  return text;
}

void BM_FirstPicturesOfAGrid(benchmark::State& state) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static ui::TestDriver driver;
  bvl_setGameBundlePath((sourceTree() / "demo/app").string());
  if (!bvl_imageNamed("items-opaque", "png")) return state.SkipWithError("the demo game's pictures were not found");
  BVLItemIDSource probe(table());
  auto named = probe.allNamedItems();
  std::vector<std::string> grid(named.end() - 36, named.end());
  for (auto _ : state) {
    state.PauseTiming();
    BVLItemIDSource source(table());  // a cold picture cache each time
    state.ResumeTiming();
    for (const auto& item : grid) benchmark::DoNotOptimize(source.basicImageForItemWithStringRepresentation(item));
  }
}
BENCHMARK(BM_FirstPicturesOfAGrid)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
