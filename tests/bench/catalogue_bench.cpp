// The item catalogue with today's names added (about 2,100 rows): what
// building it from its table costs (once a run, on the first lookup), what a
// lookup by name costs, and what the 36 pictures of a full inventory grid of
// today's items cost the first time they are cut from the atlases.
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

void BM_BuildCatalogue(benchmark::State& state) {
  if (table().empty()) return state.SkipWithError("frameworks/Bevel/data/items.tsv not found");
  for (auto _ : state) {
    BVLItemIDSource source(table());
    benchmark::DoNotOptimize(source);
  }
}
BENCHMARK(BM_BuildCatalogue)->Unit(benchmark::kMillisecond);

void BM_LookUpByName(benchmark::State& state) {
  BVLItemIDSource source(table());
  std::vector<std::string> names;
  for (const auto& item : source.allNamedItems()) names.push_back(item.substr(0, item.find('#')));
  if (names.empty()) return state.SkipWithError("no named items");
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(source.itemDefinitionWithName(names[next]));
    next = (next + 1) % names.size();
  }
}
BENCHMARK(BM_LookUpByName);

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
