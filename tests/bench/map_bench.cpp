// The map's speed: the whole map of a 50 MB world against reading every
// record of the same database once, in the same run; the first screenful
// of chunks around a point; and the peak memory of the process.
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <random>

#include <benchmark/benchmark.h>

#include "GameDatabase.h"
#include "MapBytes.h"
#include "Tarnbook/TBKMapShading.h"
#include "Tarnbook/TBKWorldMap.h"

namespace fs = std::filesystem;

namespace {

// The chunks a screen of 568 x 256 points shows at one point a block.
constexpr int screenChunksWide = 36;
constexpr int screenChunksHigh = 16;

const char* const rock[] = {"minecraft:stone", "minecraft:andesite", "minecraft:diorite",  "minecraft:granite",
                            "minecraft:dirt",  "minecraft:gravel",   "minecraft:coal_ore", "minecraft:iron_ore"};

// About 50 MB of chunks as today's game saves them, 85 x 85 chunks: four
// sub-chunks of rock mixed too finely to compress (4 bits a block) under a
// surface sub-chunk of grass, sand and water at heights that vary.
struct MapWorld {
  fs::path root;
  fs::path world;
  MapWorld() {
    std::string pattern = (fs::temp_directory_path() / "map-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root = pattern;
    world = root / "world";
    fs::create_directories(world / "db");
    auto db = gamedatabase::open(world / "db", 0, true);
    std::mt19937 random(7);
    for (int x = 0; x < 85; ++x) {
      for (int z = 0; z < 85; ++z) {
        for (int index = 0; index < 4; ++index) {
          std::vector<mapbytes::Block> blocks;
          for (int i = 0; i < 4096; ++i) blocks.push_back({i >> 8, i & 15, (i >> 4) & 15, rock[random() % 8]});
          db->Put({}, mapbytes::chunkKey(x, z, 0, '\x2f', int8_t(index)),
                  mapbytes::subChunk(8, {mapbytes::layer(4, rock[0], blocks)}));
        }
        std::vector<mapbytes::Block> surface;
        for (int column = 0; column < 256; ++column) {
          int top = int((x * 16 + column % 16 + z * 16 + column / 16) / 12 % 12);
          const char* name = top < 3 ? "minecraft:sand" : "minecraft:grass_block";
          for (int y = 0; y <= top; ++y)
            surface.push_back({column % 16, y, column / 16, y == top ? name : "minecraft:dirt"});
          for (int y = top + 1; y < 3; ++y) surface.push_back({column % 16, y, column / 16, "minecraft:water"});
        }
        db->Put({}, mapbytes::chunkKey(x, z, 0, '\x2f', 4),
                mapbytes::subChunk(9, {mapbytes::layer(3, "minecraft:air", surface)}, 4));
      }
    }
    db->CompactRange(nullptr, nullptr);
  }
  ~MapWorld() { fs::remove_all(root); }
};

MapWorld& world() {
  static MapWorld made;
  return made;
}

double databaseMB() {
  uintmax_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(world().world / "db")) {
    if (entry.is_regular_file()) total += entry.file_size();
  }
  return double(total) / 1e6;
}

double peakMiB() {
  struct rusage usage;
  ::getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

// The floor: LevelDB itself reading every record once.
void BM_ReadEveryRecord50MB(benchmark::State& state) {
  auto db = gamedatabase::open(world().world / "db");
  for (auto _ : state) {
    std::unique_ptr<leveldb::Iterator> it(db->NewIterator({}));
    size_t bytes = 0;
    for (it->SeekToFirst(); it->Valid(); it->Next()) bytes += it->value().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["dbMB"] = databaseMB();
}
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
