// Listing every creature of a 50 MB world against reading every record of
// the same database once, in the same run.
#include <benchmark/benchmark.h>

#include "BenchWorld.h"
#include "Tarnbook/TBKEntities.h"
#include "Tarnbook/TBKLevelDB.h"

namespace {

using benchworld::databaseMB;
using benchworld::world;

// The floor: LevelDB itself reading every record once.
void BM_ReadEveryRecord50MB(benchmark::State& state) { benchworld::readEveryRecord(state); }
BENCHMARK(BM_ReadEveryRecord50MB)->Unit(benchmark::kMillisecond);

// The creatures screen's listing: every creature of both forms, what its
// row shows read from its bytes, with its chunk and dimension.
void BM_ListEveryCreature50MB(benchmark::State& state) {
  auto dbMB = databaseMB();
  int creatures = world().counts.creatures;
  TBKLevelDB db(world().world.string(), "world", "");
  for (auto _ : state) {
    auto listing = TBKEntities::list(db);
    if (!listing || listing->entities.size() != size_t(creatures) || !listing->problems.empty()) std::abort();
    benchmark::DoNotOptimize(listing);
  }
  state.counters["dbMB"] = dbMB;
  state.counters["creatures"] = creatures;
}
BENCHMARK(BM_ListEveryCreature50MB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
