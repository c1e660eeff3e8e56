// Listing every creature of a 50 MB world against reading every record of
// the same database once, in the same run.
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <random>

#include <benchmark/benchmark.h>

#include "GameDatabase.h"
#include "Tarnbook/TBKEntities.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace fs = std::filesystem;

namespace {

constexpr int chunksWide = 85;
constexpr int perChunk = 3;       // creatures of their own records in each chunk
constexpr int oldFormEvery = 10;  // every tenth chunk also holds two of the old form
constexpr int creatures =
    chunksWide * chunksWide * perChunk + (chunksWide * chunksWide + oldFormEvery - 1) / oldFormEvery * 2;

std::string littleEndian(uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
  return out;
}

// A villager as the game saves one (about 400 bytes): position, health,
// armor and hands.
std::string creature(int64_t id, float x, float z) {
  using Tags = std::vector<std::shared_ptr<TBKTag>>;
  auto tree = std::make_shared<TBKCompoundTag>("");
  tree->setValueForKey(std::make_shared<TBKStringTag>("identifier", "minecraft:villager_v2"));
  tree->setValueForKey(TBKNumberTag::longTag("UniqueID", id));
  tree->setValueForKey(std::make_shared<TBKListTag>(
      "Pos", TBKTagType::Float,
      Tags{TBKNumberTag::floatTag("", x), TBKNumberTag::floatTag("", 64), TBKNumberTag::floatTag("", z)}));
  tree->setValueForKey(TBKNumberTag::byteTag("Persistent", 1));
  auto health = std::make_shared<TBKCompoundTag>("");
  health->setValueForKey(TBKNumberTag::floatTag("Current", 20));
  health->setValueForKey(TBKNumberTag::floatTag("Max", 20));
  health->setValueForKey(std::make_shared<TBKStringTag>("Name", "minecraft:health"));
  tree->setValueForKey(std::make_shared<TBKListTag>("Attributes", TBKTagType::Compound, Tags{health}));
  Tags armor;
  for (const char* name : {"minecraft:iron_helmet", "", "minecraft:leather_leggings", ""}) {
    auto item = std::make_shared<TBKCompoundTag>("");
    item->setValueForKey(TBKNumberTag::byteTag("Count", name[0] ? 1 : 0));
    item->setValueForKey(TBKNumberTag::shortTag("Damage", 0));
    item->setValueForKey(std::make_shared<TBKStringTag>("Name", name));
    item->setValueForKey(TBKNumberTag::byteTag("WasPickedUp", 0));
    armor.push_back(item);
  }
  tree->setValueForKey(std::make_shared<TBKListTag>("Armor", TBKTagType::Compound, armor));
  tree->setValueForKey(std::make_shared<TBKStringTag>("CustomName", "Villager " + std::to_string(id)));
  return TBKNBT::serialise(*tree);
}

// About 50 MB: 85 x 85 chunks of incompressible sub-chunk records (6 KB
// each), three creatures of their own records per chunk with the chunk's
// digest, and every tenth chunk an old-form value of two more.
struct CreatureWorld {
  fs::path root;
  fs::path world;
  CreatureWorld() {
    std::string pattern = (fs::temp_directory_path() / "creatures-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root = pattern;
    world = root / "world";
    fs::create_directories(world / "db");
    {
      auto db = gamedatabase::open(world / "db", 0, true);
      std::mt19937_64 random(11);
      std::string filler(6144, '\0');
      int64_t id = 1;
      for (int chunk = 0; chunk < chunksWide * chunksWide; ++chunk) {
        int32_t x = chunk % chunksWide, z = chunk / chunksWide;
        std::string chunkKey = littleEndian(uint32_t(x), 4) + littleEndian(uint32_t(z), 4);
        for (size_t i = 0; i < filler.size(); i += 8) {
          uint64_t bits = random();
          std::memcpy(&filler[i], &bits, 8);
        }
        db->Put({}, chunkKey + "\x2f" + std::string(1, '\4'), filler);
        std::string digest;
        for (int n = 0; n < perChunk; ++n, ++id) {
          db->Put({}, "actorprefix" + littleEndian(uint64_t(id), 8), creature(id, x * 16.f + n, z * 16.f + 8));
          digest += littleEndian(uint64_t(id), 8);
        }
        db->Put({}, "digp" + chunkKey, digest);
        if (chunk % oldFormEvery == 0) {
          db->Put({}, chunkKey + "\x32",
                  creature(id, x * 16.f + 4, z * 16.f) + creature(id + 1, x * 16.f + 5, z * 16.f));
          id += 2;
        }
      }
      db->CompactRange(nullptr, nullptr);
    }
    TBKLevelDB db(world.string(), "world", "");
    db.setLevelData(std::make_shared<TBKCompoundTag>(""));
  }
  ~CreatureWorld() { fs::remove_all(root); }
};

CreatureWorld& world() {
  static CreatureWorld made;
  return made;
}

double databaseMB() {
  uintmax_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(world().world / "db")) {
    if (entry.is_regular_file()) total += entry.file_size();
  }
  return double(total) / 1e6;
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

// The creatures screen's listing: every creature of both forms, what its
// row shows read from its bytes, with its chunk and dimension.
void BM_ListEveryCreature50MB(benchmark::State& state) {
  auto dbMB = databaseMB();
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
