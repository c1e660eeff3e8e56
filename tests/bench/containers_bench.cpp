// Listing every container of a 50 MB world against reading every key and
// value of the same database once, and finding an item against the
// listing, in the same run.
#include <benchmark/benchmark.h>

#include "BenchWorld.h"
#include "Tarnbook/TBKLevelDB.h"
#include "records/ContainerList.h"
#include "records/ItemFinder.h"

namespace {

using benchworld::databaseMB;
using benchworld::world;

// The floor: LevelDB itself reading every record once.
void BM_ReadEveryRecord50MB(benchmark::State& state) { benchworld::readEveryRecord(state); }
BENCHMARK(BM_ReadEveryRecord50MB)->Unit(benchmark::kMillisecond);

// The containers screen's listing: every block entity read, double chests
// joined.
void BM_ListEveryContainer50MB(benchmark::State& state) {
  auto dbMB = databaseMB();
  int containers = world().counts.containers;
  TBKLevelDB db(world().world.string(), "world", "");
  for (auto _ : state) {
    auto listing = ContainerList::list(db);
    if (listing.containers.size() != size_t(containers) || !listing.damaged.empty()) std::abort();
    benchmark::DoNotOptimize(listing);
  }
  state.counters["dbMB"] = dbMB;
  state.counters["containers"] = containers;
}
BENCHMARK(BM_ListEveryContainer50MB)->Unit(benchmark::kMillisecond);

// "Find an Item" over the players and every container, boxes inside
// included: an elytra that lies in some of the boxes.
void BM_FindAnItem50MB(benchmark::State& state) {
  int elytras = world().counts.elytras;
  TBKLevelDB db(world().world.string(), "world", "");
  ItemFinder finder;
  for (auto _ : state) {
    auto found = finder.find(db, ItemIdentity::named("minecraft:elytra", 0));
    if (found.size() != size_t(elytras)) std::abort();
    benchmark::DoNotOptimize(found);
  }
  state.counters["found"] = elytras;
}
BENCHMARK(BM_FindAnItem50MB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
