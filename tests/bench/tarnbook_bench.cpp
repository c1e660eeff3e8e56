// Tarnbook's speed where the screens feel it: reading and writing tag trees,
// listing a world (one level.dat read per row) and one edit of the player in
// a world with a large database.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include <benchmark/benchmark.h>
#include <leveldb/db.h>
#include <leveldb/iterator.h>

#include "BenchWorld.h"
#include "GameDatabase.h"
#include "InTurns.h"
#include "Tarnbook/TBKByteArrayTag.h"
#include "Tarnbook/TBKChunkKey.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace fs = std::filesystem;

namespace {

std::shared_ptr<TBKCompoundTag> itemEntry(int i) {
  auto entry = std::make_shared<TBKCompoundTag>("");
  entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(i)));
  entry->setValueForKey(TBKNumberTag::shortTag("id", static_cast<int16_t>(i % 400)));
  entry->setValueForKey(TBKNumberTag::byteTag("Count", static_cast<int8_t>(1 + i % 64)));
  entry->setValueForKey(TBKNumberTag::shortTag("Damage", static_cast<int16_t>(i % 16)));
  return entry;
}

// About 1 MB of the tags a world holds: entities and chests full of item
// compounds (many small tags, the hard case), plus some block arrays.
std::shared_ptr<TBKCompoundTag> megabyteCompound() {
  auto root = std::make_shared<TBKCompoundTag>("");
  int entity = 0;
  size_t size = 0;
  while (size < 1'000'000) {
    auto holder = std::make_shared<TBKCompoundTag>("entity" + std::to_string(entity));
    holder->setValueForKey(std::make_shared<TBKStringTag>("id", "Chest"));
    holder->setValueForKey(TBKNumberTag::intTag("x", entity));
    holder->setValueForKey(TBKNumberTag::intTag("y", 64));
    holder->setValueForKey(TBKNumberTag::intTag("z", -entity));
    auto items = std::make_shared<TBKListTag>("Items", TBKTagType::Compound);
    for (int i = 0; i < 27; ++i) items->setObjectAtIndexedSubscript(itemEntry(i), items->count());
    holder->setValueForKey(items);
    if (entity % 8 == 0) {
      holder->setValueForKey(std::make_shared<TBKByteArrayTag>("Blocks", std::vector<int8_t>(4096, 3)));
    }
    size += TBKNBT::serialise(*holder).size();
    root->setValueForKey(holder);
    ++entity;
  }
  return root;
}

// The floor for a reader: every check the reader makes on the same bytes
// (types, lengths against what is left, the depth bound, the tag cap), and
// nothing built. A reader cannot be faster than this walk.
class FloorWalk {
 public:
  explicit FloorWalk(std::string_view bytes) : next_(bytes.data()), end_(bytes.data() + bytes.size()) {}

  // The number of tags, or 0 for damaged data.
  size_t walkRoot() {
    uint8_t type = 0;
    if (!readType(type) || type == 0 || !skipText() || !walkValue(type, 1)) return 0;
    return tags_;
  }

 private:
  bool need(size_t count) const { return size_t(end_ - next_) >= count; }
  bool readType(uint8_t& type) {
    if (!need(1)) return false;
    type = static_cast<uint8_t>(*next_++);
    return type <= 12;
  }
  bool skip(size_t count) {
    if (!need(count)) return false;
    next_ += count;
    return true;
  }
  bool skipText() {
    if (!need(2)) return false;
    size_t length = uint8_t(next_[0]) | size_t(uint8_t(next_[1])) << 8;
    return skip(2) && skip(length);
  }
  bool readCount(size_t elementSize, size_t& count) {
    if (!need(4)) return false;
    int32_t value;
    std::memcpy(&value, next_, 4);
    next_ += 4;
    if (value < 0 || (elementSize > 0 && size_t(value) > size_t(end_ - next_) / elementSize)) return false;
    count = size_t(value);
    return true;
  }
  bool walkValue(uint8_t type, int depth) {
    if (++tags_ > TBKNBT::maximumTags) return false;
    static constexpr size_t fixed[] = {0, 1, 2, 4, 8, 4, 8};
    static constexpr size_t smallest[] = {0, 1, 2, 4, 8, 4, 8, 4, 2, 5, 1, 4, 4};
    size_t count = 0;
    switch (type) {
      case 1:
      case 2:
      case 3:
      case 4:
      case 5:
      case 6:
        return skip(fixed[type]);
      case 7:
        return readCount(1, count) && skip(count);
      case 11:
        return readCount(4, count) && skip(count * 4);
      case 12:
        return readCount(8, count) && skip(count * 8);
      case 8:
        return skipText();
      case 9: {
        uint8_t element = 0;
        if (depth > TBKNBT::maximumDepth || !readType(element) || !readCount(smallest[element], count)) return false;
        if (element == 0 && count > 0) return false;
        for (size_t i = 0; i < count; ++i) {
          if (!walkValue(element, depth + 1)) return false;
        }
        return true;
      }
      case 10:
        if (depth > TBKNBT::maximumDepth) return false;
        for (;;) {
          uint8_t child = 0;
          if (!readType(child)) return false;
          if (child == 0) return true;
          if (!skipText() || !walkValue(child, depth + 1)) return false;
        }
      default:
        return false;
    }
  }

  const char* next_;
  const char* end_;
  size_t tags_ = 0;
};

// The read and the floor walk on the same bytes, timed in turns: their
// ratio decides.
struct ReadAndWalk {
  std::string error;  // why the walk refused the compound
  std::vector<double> read, walk;
  size_t bytes = 0;
};

constexpr int readRounds = 15;
constexpr int readsPerRound = 20;

const ReadAndWalk& readAndWalkInTurns() {
  static const ReadAndWalk runs = [] {
    ReadAndWalk result;
    std::string bytes = TBKNBT::serialise(*megabyteCompound());
    result.bytes = bytes.size();
    auto walk = [&] {
      return inturns::secondsOf([&] {
        size_t tags = FloorWalk(bytes).walkRoot();
        if (tags == 0) result.error = "the walk refused the compound";
        benchmark::DoNotOptimize(tags);
      });
    };
    auto read = [&] {
      std::shared_ptr<TBKCompoundTag> tree;
      // Freeing the tree is not the read's cost.
      return inturns::secondsOf([&] { benchmark::DoNotOptimize(tree = TBKNBT::parseCompound(bytes)); });
    };
    auto means = inturns::time(readRounds, readsPerRound, {walk, read});
    result.walk = std::move(means[0]);
    result.read = std::move(means[1]);
    return result;
  }();
  return runs;
}

// repetition counts this side's repetitions so far.
void reportInTurns(benchmark::State& state, const std::vector<double> ReadAndWalk::*side, size_t& repetition) {
  const ReadAndWalk& runs = readAndWalkInTurns();
  inturns::report(state, runs.*side, repetition, runs.error);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * runs.bytes));
  state.counters["bytes"] = static_cast<double>(runs.bytes);
}

void BM_ParseMegabyteCompound(benchmark::State& state) {
  static size_t repetition = 0;
  reportInTurns(state, &ReadAndWalk::read, repetition);
}
void BM_WalkMegabyteCompound(benchmark::State& state) {
  static size_t repetition = 0;
  reportInTurns(state, &ReadAndWalk::walk, repetition);
}

BENCHMARK(BM_ParseMegabyteCompound)->Apply(inturns::inRounds<readRounds>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkMegabyteCompound)->Apply(inturns::inRounds<readRounds>)->Unit(benchmark::kMillisecond);

// NBT over the records a world really holds: every block-entity and entity
// record of the shared 50 MB world, each value's roots read and written
// back. The records are gathered first, so the figure is the NBT work alone.
void BM_RoundTripWorldRecords50MB(benchmark::State& state) {
  std::vector<std::string> values;
  {
    auto db = gamedatabase::open(benchworld::world().world / "db");
    std::unique_ptr<leveldb::Iterator> it(db->NewIterator({}));
    for (it->SeekToFirst(); it->Valid(); it->Next()) {
      std::string key = it->key().ToString();
      auto chunk = TBKChunkKey::parse(key);
      if (key.starts_with("actorprefix") ||
          (chunk && (chunk->tag == TBKChunkKey::Tag::BlockEntities || chunk->tag == TBKChunkKey::Tag::Entities))) {
        values.push_back(it->value().ToString());
      }
    }
  }
  size_t bytes = 0;
  for (const auto& value : values) bytes += value.size();
  for (auto _ : state) {
    for (const auto& value : values) {
      for (const auto& root : TBKNBT::parseRoots(value)) benchmark::DoNotOptimize(TBKNBT::serialise(*root));
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["records"] = static_cast<double>(values.size());
}
BENCHMARK(BM_RoundTripWorldRecords50MB)->Unit(benchmark::kMillisecond);

void BM_SerialiseMegabyteCompound(benchmark::State& state) {
  auto root = megabyteCompound();
  std::string out;
  for (auto _ : state) {
    out.clear();
    TBKNBT::serialise(*root, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * out.size()));
}
BENCHMARK(BM_SerialiseMegabyteCompound)->Unit(benchmark::kMillisecond);

struct Sandbox {
  fs::path root;
  Sandbox() {
    std::string pattern = (fs::temp_directory_path() / "tarnbook-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root = pattern;
    fs::create_directories(worlds());
    ::setenv("TARNBOOK_GAME_SANDBOX", root.c_str(), 1);
  }
  ~Sandbox() { fs::remove_all(root); }
  fs::path worlds() const { return root / "Documents/games/com.mojang/minecraftWorlds"; }
};

std::shared_ptr<TBKCompoundTag> levelTree() {
  auto level = std::make_shared<TBKCompoundTag>("");
  level->setValueForKey(TBKNumberTag::intTag("GameType", 0));
  level->setValueForKey(TBKNumberTag::longTag("LastPlayed", 1404475200));
  level->setValueForKey(std::make_shared<TBKStringTag>("LevelName", "Bench World"));
  for (const char* key : {"SpawnX", "SpawnY", "SpawnZ", "Platform", "StorageVersion", "Generator"})
    level->setValueForKey(TBKNumberTag::intTag(key, 3));
  level->setValueForKey(TBKNumberTag::longTag("RandomSeed", 123456789));
  return level;
}

std::shared_ptr<TBKCompoundTag> playerTree() {
  auto player = std::make_shared<TBKCompoundTag>("");
  auto inventory = std::make_shared<TBKListTag>("Inventory", TBKTagType::Compound);
  for (int i = 0; i < 45; ++i) inventory->setObjectAtIndexedSubscript(itemEntry(i), inventory->count());
  player->setValueForKey(inventory);
  auto abilities = std::make_shared<TBKCompoundTag>("abilities");
  abilities->setValueForKey(TBKNumberTag::byteTag("mayfly", 0));
  player->setValueForKey(abilities);
  return player;
}

// A world whose database holds about 50 MB of incompressible chunk records,
// written the way the game writes them (zlib tables), and a player; with
// otherPlayers, that many "player_<id>" pointers and the records they name.
void makeLargeWorld(const fs::path& world, int otherPlayers = 0) {
  fs::create_directories(world / "db");
  {
    auto db = gamedatabase::open(world / "db", 0, true);
    std::mt19937_64 random(42);
    std::string value(4096, '\0');
    for (int chunk = 0; chunk < 12800; ++chunk) {
      for (size_t i = 0; i < value.size(); i += 8) {
        uint64_t bits = random();
        std::memcpy(&value[i], &bits, 8);
      }
      int32_t key[3] = {chunk % 113, chunk / 113, 0x30};
      db->Put(leveldb::WriteOptions(), leveldb::Slice(reinterpret_cast<const char*>(key), 9), value);
    }
    std::string record = TBKNBT::serialise(*playerTree());
    for (int player = 0; player < otherPlayers; ++player) {
      char uuid[40];
      std::snprintf(uuid, sizeof uuid, "%08x-0000-4000-8000-%012x", player * 2654435761u, player);
      auto pointer = std::make_shared<TBKCompoundTag>("");
      pointer->setValueForKey(std::make_shared<TBKStringTag>("ServerId", std::string("player_server_") + uuid));
      db->Put(leveldb::WriteOptions(), "player_" + std::to_string(9000000 + player), TBKNBT::serialise(*pointer));
      db->Put(leveldb::WriteOptions(), std::string("player_server_") + uuid, record);
    }
    db->CompactRange(nullptr, nullptr);
  }
  TBKLevelDB db(world.string(), "big", "");
  db.setLevelData(levelTree());
  db.setPlayer(playerTree());
}

uintmax_t folderSize(const fs::path& folder) {
  uintmax_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) total += entry.file_size();
  }
  return total;
}

// The player screens' costs in a 50 MB world, timed in turns with their
// floor, LevelDB itself opening a 50 MB database made alike and reading the
// player record, nothing of ours in between:
// - one player edit as the level screen makes it (open, read, write,
//   close), without (argument 0) and with (argument 1) the backup a
//   session's first edit makes (level.dat, levelname.txt and the player
//   record copied);
// - the players screen's list of 200 other players, with the database
//   already open (argument 0: the level screen opened it) or opened anew for
//   the listing (argument 1).
enum PlayerPiece { OpenAndRead, Edit, EditWithBackup, ListOpen, ListOpened };
constexpr int playerRounds = 9;

struct PlayerScreens {
  std::vector<std::vector<double>> means;
  double dbMB = 0;
};

const PlayerScreens& playerScreensInTurns() {
  static const PlayerScreens screens = [] {
    PlayerScreens made;
    Sandbox sandbox;
    fs::path world = sandbox.worlds() / "big";
    makeLargeWorld(world);
    // Alike, one kept open and one opened anew for each listing: a database
    // is opened by one handle at a time.
    makeLargeWorld(sandbox.worlds() / "players", 200);
    makeLargeWorld(sandbox.worlds() / "players anew", 200);
    // The floor's own copy, which no edit changes.
    fs::path untouched = sandbox.root / "untouched";
    makeLargeWorld(untouched);
    auto openAndRead = [&] {
      return inturns::secondsOf([&] {
        auto db = gamedatabase::open(untouched / "db");
        std::string value;
        if (!db->Get(leveldb::ReadOptions(), "~local_player", &value).ok()) std::abort();
        benchmark::DoNotOptimize(value.data());
      });
    };
    auto edit = [&](bool backups) {
      return [&world, backups] {
        return inturns::secondsOf([&] {
          auto db =
              backups ? TBKLevelDB::dbForWorldNamed("big") : std::make_shared<TBKLevelDB>(world.string(), "big", "");
          db->setPlayer(db->player());
        });
      };
    };
    auto open = TBKLevelDB::dbForWorldNamed("players");
    if (open->players().size() != 201) std::abort();
    auto list = [&](bool opened) {
      return [&open, opened] {
        return inturns::secondsOf([&] {
          auto db = opened ? TBKLevelDB::dbForWorldNamed("players anew") : open;
          benchmark::DoNotOptimize(db->players().data());
        });
      };
    };
    made.means = inturns::time(playerRounds, 5, {openAndRead, edit(false), edit(true), list(false), list(true)});
    made.dbMB = static_cast<double>(folderSize(world / "db")) / 1e6;
    return made;
  }();
  return screens;
}

void reportPlayerPiece(benchmark::State& state, PlayerPiece piece) {
  static size_t repetition[5] = {};
  const PlayerScreens& screens = playerScreensInTurns();
  inturns::report(state, screens.means[piece], repetition[piece]);
  state.counters["dbMB"] = screens.dbMB;
}

void BM_OpenPlayerSetPlayer50MB(benchmark::State& state) {
  reportPlayerPiece(state, state.range(0) ? EditWithBackup : Edit);
}
BENCHMARK(BM_OpenPlayerSetPlayer50MB)
    ->Apply(inturns::inRounds<playerRounds>)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

void BM_LevelDBOpenAndReadPlayer50MB(benchmark::State& state) { reportPlayerPiece(state, OpenAndRead); }
BENCHMARK(BM_LevelDBOpenAndReadPlayer50MB)->Apply(inturns::inRounds<playerRounds>)->Unit(benchmark::kMillisecond);

void BM_ListPlayers200In50MB(benchmark::State& state) {
  reportPlayerPiece(state, state.range(0) ? ListOpened : ListOpen);
}
BENCHMARK(BM_ListPlayers200In50MB)
    ->Apply(inturns::inRounds<playerRounds>)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

// One change of a level setting as a screen makes it: the tree handed back
// and written (level.dat_old, level.dat, levelname.txt, each atomically).
void BM_LevelWrite(benchmark::State& state) {
  Sandbox sandbox;
  fs::path world = sandbox.worlds() / "level";
  fs::create_directories(world / "db");
  TBKLevelDB db(world.string(), "level", "");
  db.setLevelData(levelTree());
  auto level = db.levelData();
  int32_t spawn = 0;
  for (auto _ : state) {
    level->setValueForKey(TBKNumberTag::intTag("SpawnX", ++spawn));
    db.setLevelData(level);
  }
}
BENCHMARK(BM_LevelWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
