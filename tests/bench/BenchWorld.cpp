#include "BenchWorld.h"

#include <stdlib.h>

#include <random>
#include <string>
#include <vector>

#include "GameDatabase.h"
#include "MapBytes.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace fs = std::filesystem;

namespace benchworld {
namespace {

using Tags = std::vector<std::shared_ptr<TBKTag>>;

constexpr int perChunk = 3;       // creatures of their own records in each chunk
constexpr int oldFormEvery = 10;  // chunks between old-form values of two creatures
constexpr int doubleChestEvery = 4, barrelEvery = 5, elytraEveryBarrel = 10;

const char* const rock[] = {"minecraft:stone", "minecraft:andesite", "minecraft:diorite",  "minecraft:granite",
                            "minecraft:dirt",  "minecraft:gravel",   "minecraft:coal_ore", "minecraft:iron_ore"};
const char* const goods[] = {"minecraft:bread",      "minecraft:oak_log", "minecraft:cobblestone", "minecraft:torch",
                             "minecraft:iron_ingot", "minecraft:arrow",   "minecraft:wheat_seeds", "minecraft:coal"};

std::string littleEndian(uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
  return out;
}

std::shared_ptr<TBKCompoundTag> item(const std::string& name, int count, int slot = -1) {
  auto entry = std::make_shared<TBKCompoundTag>("");
  entry->setValueForKey(TBKNumberTag::byteTag("Count", static_cast<int8_t>(count)));
  entry->setValueForKey(TBKNumberTag::shortTag("Damage", 0));
  entry->setValueForKey(std::make_shared<TBKStringTag>("Name", name));
  if (slot >= 0) entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
  entry->setValueForKey(TBKNumberTag::byteTag("WasPickedUp", 0));
  return entry;
}

// A villager as the game saves one (about 400 bytes): position, health,
// armor and hands.
std::string creature(int64_t id, float x, float z) {
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
    armor.push_back(item(name, name[0] ? 1 : 0));
  }
  tree->setValueForKey(std::make_shared<TBKListTag>("Armor", TBKTagType::Compound, armor));
  tree->setValueForKey(std::make_shared<TBKStringTag>("CustomName", "Villager " + std::to_string(id)));
  return TBKNBT::serialise(*tree);
}

std::shared_ptr<TBKCompoundTag> blockEntity(const std::string& id, int x, int y, int z) {
  auto root = std::make_shared<TBKCompoundTag>("");
  root->setValueForKey(std::make_shared<TBKStringTag>("id", id));
  root->setValueForKey(TBKNumberTag::byteTag("isMovable", 1));
  root->setValueForKey(TBKNumberTag::intTag("x", x));
  root->setValueForKey(TBKNumberTag::intTag("y", y));
  root->setValueForKey(TBKNumberTag::intTag("z", z));
  return root;
}

std::shared_ptr<TBKCompoundTag> chest(int x, int z, Tags items) {
  auto root = blockEntity("Chest", x, 64, z);
  root->setValueForKey(TBKNumberTag::byteTag("Findable", 0));
  root->setValueForKey(std::make_shared<TBKListTag>("Items", TBKTagType::Compound, std::move(items)));
  return root;
}

std::shared_ptr<TBKCompoundTag> paired(std::shared_ptr<TBKCompoundTag> half, int pairx, int pairz, bool lead) {
  half->setValueForKey(TBKNumberTag::intTag("pairx", pairx));
  half->setValueForKey(TBKNumberTag::byteTag("pairlead", lead ? 1 : 0));
  half->setValueForKey(TBKNumberTag::intTag("pairz", pairz));
  return half;
}

Tags someGoods(std::mt19937& random, int slots, int filled) {
  Tags items;
  for (int slot = 0; slot < slots && int(items.size()) < filled; slot += 1 + int(random() % 3)) {
    items.push_back(item(goods[random() % 8], 1 + int(random() % 64), slot));
  }
  return items;
}

// The chunk's block entities, one root after another, counting what it holds.
std::string blockEntities(int32_t cx, int32_t cz, int chunk, std::mt19937& random, Counts& counts) {
  int x = cx * 16, z = cz * 16;
  std::string value = TBKNBT::serialise(*chest(x + 3, z + 3, someGoods(random, 27, 8)));
  auto furnace = blockEntity("Furnace", x + 5, 64, z + 3);
  furnace->setValueForKey(std::make_shared<TBKListTag>(
      "Items", TBKTagType::Compound,
      Tags{item("minecraft:raw_iron", 12, 0), item("minecraft:coal", 5, 1), item("minecraft:iron_ingot", 3, 2)}));
  furnace->setValueForKey(TBKNumberTag::shortTag("BurnTime", 1180));
  furnace->setValueForKey(TBKNumberTag::shortTag("CookTime", 120));
  value += TBKNBT::serialise(*furnace);
  auto sign = blockEntity("Sign", x + 4, 65, z + 3);
  sign->setValueForKey(std::make_shared<TBKStringTag>("Text", "Chunk " + std::to_string(chunk)));
  sign->setValueForKey(TBKNumberTag::intTag("SignTextColor", -16777216));
  value += TBKNBT::serialise(*sign);
  counts.containers += 2;
  if (chunk % doubleChestEvery == 0) {
    value += TBKNBT::serialise(*paired(chest(x + 8, z + 8, someGoods(random, 27, 6)), x + 9, z + 8, true));
    value += TBKNBT::serialise(*paired(chest(x + 9, z + 8, someGoods(random, 27, 6)), x + 8, z + 8, false));
    counts.containers += 1;
  }
  if (chunk % barrelEvery == 0) {
    auto box = item("minecraft:purple_shulker_box", 1, 0);
    auto tag = std::make_shared<TBKCompoundTag>("tag");
    Tags inside = someGoods(random, 27, 5);
    if (chunk / barrelEvery % elytraEveryBarrel == 0) {
      inside.push_back(item("minecraft:elytra", 1, 26));
      ++counts.elytras;
    }
    tag->setValueForKey(std::make_shared<TBKListTag>("Items", TBKTagType::Compound, inside));
    box->setValueForKey(tag);
    auto barrel = blockEntity("Barrel", x + 12, 64, z + 12);
    barrel->setValueForKey(
        std::make_shared<TBKListTag>("Items", TBKTagType::Compound, Tags{box, item("minecraft:arrow", 48, 1)}));
    value += TBKNBT::serialise(*barrel);
    counts.containers += 1;
  }
  return value;
}

World build() {
  World made;
  std::string pattern = (fs::temp_directory_path() / "bench-world-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) std::abort();
  made.root = pattern;
  made.world = made.root / "world";
  fs::create_directories(made.world / "db");
  {
    auto db = gamedatabase::open(made.world / "db", 0, true);
    std::mt19937 random(7);
    int64_t id = 1;
    for (int x = 0; x < chunksWide; ++x) {
      for (int z = 0; z < chunksWide; ++z) {
        int chunk = x * chunksWide + z;
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

        std::string chunkKey = littleEndian(uint32_t(x), 4) + littleEndian(uint32_t(z), 4);
        std::string digest;
        for (int n = 0; n < perChunk; ++n, ++id) {
          db->Put({}, "actorprefix" + littleEndian(uint64_t(id), 8), creature(id, x * 16.f + n, z * 16.f + 8));
          digest += littleEndian(uint64_t(id), 8);
        }
        db->Put({}, "digp" + chunkKey, digest);
        made.counts.creatures += perChunk;
        if (chunk % oldFormEvery == 0) {
          db->Put({}, chunkKey + "\x32",
                  creature(id, x * 16.f + 4, z * 16.f) + creature(id + 1, x * 16.f + 5, z * 16.f));
          id += 2;
          made.counts.creatures += 2;
        }
        db->Put({}, mapbytes::chunkKey(x, z, 0, '\x31'), blockEntities(x, z, chunk, random, made.counts));
      }
    }
    db->CompactRange(nullptr, nullptr);
  }
  TBKLevelDB db(made.world.string(), "world", "");
  db.setLevelData(std::make_shared<TBKCompoundTag>(""));
  return made;
}

struct Kept {
  World world = build();
  ~Kept() { fs::remove_all(world.root); }
};

}  // namespace

const World& world() {
  static Kept kept;
  return kept.world;
}

double databaseMB() {
  uintmax_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(world().world / "db")) {
    if (entry.is_regular_file()) total += entry.file_size();
  }
  return double(total) / 1e6;
}

void readEveryRecord(benchmark::State& state) {
  auto db = gamedatabase::open(world().world / "db");
  for (auto _ : state) {
    std::unique_ptr<leveldb::Iterator> it(db->NewIterator({}));
    size_t bytes = 0;
    for (it->SeekToFirst(); it->Valid(); it->Next()) bytes += it->key().size() + it->value().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["dbMB"] = databaseMB();
}

}  // namespace benchworld
