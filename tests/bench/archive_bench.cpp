// A world exported as a .mcworld, imported from one, and copied, each set
// against a plain copy of the same folder (every file written and flushed,
// as all three flush theirs) in the same run: the demo game's world of
// today's game and a world of a 50 MB database.
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include <benchmark/benchmark.h>

#include "DemoGame.h"
#include "GameDatabase.h"
#include "Tarnbook/TBKWholeWorld.h"
#include "Tarnbook/TBKWorldArchive.h"

namespace fs = std::filesystem;

namespace {

// The demo game's worlds; beside today's, one of a 50 MB database: 85 x 85
// chunks of incompressible 6 KB sub-chunk records, as the map's benchmark.
struct Worlds {
  DemoGame game;
  fs::path worlds = game.gameDataFolder() / "minecraftWorlds";
  fs::path out = game.sandbox() / "out";
  fs::path today = worlds / "bW9kZXJuAA==";
  fs::path large = worlds / "large";
  Worlds() {
    fs::create_directories(out);
    fs::create_directories(large / "db");
    fs::copy_file(today / "level.dat", large / "level.dat");
    auto db = gamedatabase::open(large / "db", 0, true);
    std::mt19937_64 random(7);
    std::string filler(6144, '\0');
    for (uint32_t chunk = 0; chunk < 85 * 85; ++chunk) {
      for (size_t i = 0; i < filler.size(); i += 8) {
        uint64_t bits = random();
        std::memcpy(&filler[i], &bits, 8);
      }
      uint32_t xz[2] = {chunk % 85, chunk / 85};
      db->Put({}, std::string(reinterpret_cast<const char*>(xz), 8) + "\x2f\x04", filler);
    }
    db->CompactRange(nullptr, nullptr);
  }
  const fs::path& world(int64_t which) const { return which == 0 ? today : large; }
};

Worlds& worlds() {
  static Worlds made;
  return made;
}

double folderMB(const fs::path& folder) {
  uintmax_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) total += entry.file_size();
  }
  return double(total) / 1e6;
}

// Times body, then undoes what it made with the clock stopped.
template <typename Body>
void timed(benchmark::State& state, const fs::path& world, Body body) {
  for (auto _ : state) {
    fs::path made = body();
    state.PauseTiming();
    fs::remove_all(made);
    state.ResumeTiming();
  }
  state.counters["MB"] = folderMB(world);
}

// The floor: the folder's files copied one by one, each flushed.
void BM_PlainCopy(benchmark::State& state) {
  const fs::path& world = worlds().world(state.range(0));
  timed(state, world, [&] {
    fs::path to = worlds().out / "plain";
    for (const auto& entry : fs::recursive_directory_iterator(world)) {
      fs::path target = to / fs::relative(entry.path(), world);
      if (entry.is_directory()) {
        fs::create_directories(target);
        continue;
      }
      fs::create_directories(target.parent_path());
      fs::copy_file(entry.path(), target);
      int fd = ::open(target.c_str(), O_RDONLY);
      if (fd < 0 || ::fsync(fd) != 0) std::abort();
      ::close(fd);
    }
    return to;
  });
}
BENCHMARK(BM_PlainCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Export(benchmark::State& state) {
  const fs::path& world = worlds().world(state.range(0));
  timed(state, world, [&] { return *TBKWorldArchive::exportWorld(world, "World", worlds().out); });
}
BENCHMARK(BM_Export)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Import(benchmark::State& state) {
  const fs::path& world = worlds().world(state.range(0));
  std::string archive = *TBKWorldArchive::exportWorld(world, "Imported", worlds().out);
  timed(state, world, [&] { return worlds().worlds / *TBKWorldArchive::importWorld(archive, worlds().worlds); });
  fs::remove(archive);
}
BENCHMARK(BM_Import)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Copy(benchmark::State& state) {
  const fs::path& world = worlds().world(state.range(0));
  timed(state, world, [&] { return worlds().worlds / *TBKWholeWorld::copyWorld(world); });
}
BENCHMARK(BM_Copy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
