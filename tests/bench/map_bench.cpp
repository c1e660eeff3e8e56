// The map's speed: the whole map of a 50 MB world against reading every
// record of the same database once, in the same run; the first screenful
// of chunks around a point; and the peak memory of the process.
#include <stdlib.h>
#include <sys/resource.h>

#include <vector>

#include <benchmark/benchmark.h>

#include "BenchWorld.h"
#include "Tarnbook/TBKMapShading.h"
#include "Tarnbook/TBKWorldMap.h"

namespace {

using benchworld::databaseMB;
using benchworld::world;

// The chunks a screen of 568 x 256 points shows at one point a block.
constexpr int screenChunksWide = 36;
constexpr int screenChunksHigh = 16;

double peakMiB() {
  struct rusage usage;
  ::getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

// The floor: LevelDB itself reading every record once.
void BM_ReadEveryRecord50MB(benchmark::State& state) { benchworld::readEveryRecord(state); }
BENCHMARK(BM_ReadEveryRecord50MB)->Unit(benchmark::kMillisecond);

// The whole map: every chunk's surface and its 256 pixels.
void BM_WholeMap50MB(benchmark::State& state) {
  auto dbMB = databaseMB();
  TBKWorldMap map(world().world.string(), "world");
  std::vector<uint32_t> pixels(256);
  for (auto _ : state) {
    int chunks = 0;
    map.forEachSurface(TBKWorldMap::Dimension::Overworld, [&](int32_t, int32_t, const TBKChunkSurface& surface) {
      TBKMapShading::paint(surface, nullptr, nullptr, pixels.data(), 16);
      ++chunks;
      return true;
    });
    if (chunks != 85 * 85) std::abort();
  }
  state.counters["dbMB"] = dbMB;
  state.counters["peak_MiB"] = peakMiB();
}
BENCHMARK(BM_WholeMap50MB)->Unit(benchmark::kMillisecond);

// What the map screen reads before its first frame is whole: each chunk of
// a screenful, looked up one by one, with the database already open.
void BM_FirstScreenful(benchmark::State& state) {
  TBKWorldMap map(world().world.string(), "world");
  std::vector<uint32_t> pixels(256);
  for (auto _ : state) {
    for (int x = 10; x < 10 + screenChunksWide; ++x) {
      for (int z = 20; z < 20 + screenChunksHigh; ++z) {
        auto surface = map.surface(x, z, TBKWorldMap::Dimension::Overworld);
        if (!surface) std::abort();
        TBKMapShading::paint(*surface, nullptr, nullptr, pixels.data(), 16);
      }
    }
  }
  state.counters["chunks"] = screenChunksWide * screenChunksHigh;
}
BENCHMARK(BM_FirstScreenful)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
