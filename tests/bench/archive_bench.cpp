// A world exported as a .mcworld, imported from one, and copied, each set
// against a plain copy of the same folder (every file written and flushed,
// as all three flush theirs), the four timed in turns: the demo game's world
// of today's game and a world of a 50 MB database.
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include <benchmark/benchmark.h>

#include "DemoGame.h"
#include "GameDatabase.h"
#include "InTurns.h"
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

// The floor: the folder's files copied one by one, each flushed.
fs::path plainCopy(const fs::path& world) {
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
}

enum Piece { PlainCopy, Export, Import, Copy };
constexpr int rounds = 9;

// Each piece's round means on a world, the four timed in turns; what a run
// makes is removed with the clock stopped.
const std::vector<double>& inTurns(int64_t which, Piece piece) {
  static std::vector<std::vector<double>> means[2];
  if (means[which].empty()) {
    const fs::path& world = worlds().world(which);
    std::string archive = *TBKWorldArchive::exportWorld(world, "Imported", worlds().out);
    auto timed = [](auto body) {
      return [body] {
        fs::path made;
        double seconds = inturns::secondsOf([&] { made = body(); });
        fs::remove_all(made);
        return seconds;
      };
    };
    means[which] =
        inturns::time(rounds, which == 0 ? 10 : 1,
                      {timed([&] { return plainCopy(world); }),
                       timed([&] { return fs::path(*TBKWorldArchive::exportWorld(world, "World", worlds().out)); }),
                       timed([&] { return worlds().worlds / *TBKWorldArchive::importWorld(archive, worlds().worlds); }),
                       timed([&] { return worlds().worlds / *TBKWholeWorld::copyWorld(world); })});
    fs::remove(archive);
  }
  return means[which][piece];
}

template <Piece piece>
void BM_Piece(benchmark::State& state) {
  static size_t repetition[2] = {};
  inturns::report(state, inTurns(state.range(0), piece), repetition[state.range(0)]);
  state.counters["MB"] = folderMB(worlds().world(state.range(0)));
}

void BM_PlainCopy(benchmark::State& state) { BM_Piece<PlainCopy>(state); }
void BM_Export(benchmark::State& state) { BM_Piece<Export>(state); }
void BM_Import(benchmark::State& state) { BM_Piece<Import>(state); }
void BM_Copy(benchmark::State& state) { BM_Piece<Copy>(state); }
BENCHMARK(BM_PlainCopy)->Apply(inturns::inRounds<rounds>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Apply(inturns::inRounds<rounds>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Apply(inturns::inRounds<rounds>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy)->Apply(inturns::inRounds<rounds>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
