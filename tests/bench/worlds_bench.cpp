// The world browser's two costs the user waits on: filling one row of the
// world list (list the worlds, open the row's world, read its level data,
// make three labels) with 1,000 worlds in the folder, budget 1 ms; and
// choosing a world until its level screen has appeared, for a world whose
// database holds 50 MB, budget 20 ms, against LevelDB's own open of that
// database. Both run the real screens on the offscreen platform over a
// private copy of the demo game.
//
//   build/bin/worlds_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include <benchmark/benchmark.h>

#include "DemoGame.h"
#include "GameDatabase.h"
#include "InTurns.h"
#include "level/LevelTableViewController.h"
#include "menu/MenuViewController.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"
#include "ui/TestDriver.h"
#include "ui/Window.h"
#include "worlds/WorldListTableViewController.h"
#include "worlds/WorldTableViewCell.h"

namespace fs = std::filesystem;

namespace {

ui::TestDriver& driver() {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static ui::TestDriver driver;
  return driver;
}

// The menu, then the world list, in a window.
struct WorldsShown {
  std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>(ui::Rect(0, 0, 568, 320));
  std::shared_ptr<ui::NavigationController> navigation = std::make_shared<ui::NavigationController>();
  std::shared_ptr<MenuViewController> menu;

  explicit WorldsShown(const DemoGame& game) {
    GSFontAddFromFile((game.app() / "minecraft.ttf").c_str());
    menu = std::make_shared<MenuViewController>();
    navigation->addChildViewController(menu);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    driver().runUntilIdle();
    driver().tap(*menu->editButton);
    driver().runUntilIdle();
  }
};

fs::path worldsFolder(const DemoGame& game) { return game.gameDataFolder() / "minecraftWorlds"; }

void BM_FillWorldRowAmongThousandWorlds(benchmark::State& state) {
  driver();
  DemoGame game;
  // More worlds beside the demo's, each with its own level.dat, up to 1,000.
  fs::path model = worldsFolder(game) / "Lakeside Survival";
  long demoWorlds = long(TBKLevelDB::worlds().size());
  for (long i = 0; i < 1000 - demoWorlds; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "World %04ld", i);
    fs::create_directory(worldsFolder(game) / name);
    fs::copy_file(model / "level.dat", worldsFolder(game) / name / "level.dat");
  }
  if (TBKLevelDB::worlds().size() != 1000) state.SkipWithError("not 1,000 worlds");
  WorldsShown shown(game);
  auto cell = std::make_shared<WorldTableViewCell>(ui::TableViewCellStyle::Default, "cell");
  cell->setFrame(ui::Rect(0, 0, 528, 60));
  long row = 0;
  for (auto _ : state) {
    cell->configureWithIndex(row);
    row = (row + 37) % 1000;
  }
  if (cell->worldNameLabel->text().empty()) state.SkipWithError("the row shows no world");
}
BENCHMARK(BM_FillWorldRowAmongThousandWorlds)->Unit(benchmark::kMicrosecond);

// About 50 MB of incompressible chunk records added to the world's database
// in zlib tables, compacted as a game's database is between sessions.
void growDatabase(const fs::path& world) {
  auto db = gamedatabase::open(world / "db");
  std::mt19937_64 random(7);
  std::string value(16384, '\0');
  for (int32_t chunk = 0; chunk < 3200; ++chunk) {
    for (size_t i = 0; i < value.size(); i += 8) {
      uint64_t bits = random();
      std::memcpy(&value[i], &bits, 8);
    }
    int32_t key[3] = {chunk % 57, chunk / 57, 0x30};
    db->Put(leveldb::WriteOptions(), leveldb::Slice(reinterpret_cast<const char*>(key), 9), value);
  }
  db->CompactRange(nullptr, nullptr);
}

// Choosing the grown world, timed in turns with its floor: LevelDB itself
// opening the same database and reading the player, nothing of ours in
// between.
struct Choosing {
  std::string error;
  std::vector<double> choose, floor;
  double databaseMB = 0;
};

constexpr int chooseRounds = 9;

const Choosing& chooseInTurns() {
  static const Choosing result = [] {
    Choosing made;
    driver();
    DemoGame game;
    fs::path world = worldsFolder(game) / "Lakeside Survival";
    growDatabase(world);
    uintmax_t bytes = 0;
    for (auto& entry : fs::recursive_directory_iterator(world / "db"))
      bytes += entry.is_regular_file() ? entry.file_size() : 0;
    made.databaseMB = double(bytes) / 1e6;

    WorldsShown shown(game);
    auto list = shown.menu->worldsController;
    auto choose = [&] {
      auto row = list->tableView()->cellForRowAtIndexPath(ui::IndexPath{0, 2});
      double seconds = inturns::secondsOf([&] {
        driver().tap(*row);
        driver().runUntilIdle();
      });
      auto level = std::dynamic_pointer_cast<LevelTableViewController>(shown.navigation->topViewController());
      if (!level || !level->background()->isAnimating()) made.error = "the level screen did not appear";
      level.reset();
      shown.navigation->popViewControllerAnimated(false);
      driver().runUntilIdle();
      return seconds;
    };
    auto floor = [&] {
      return inturns::secondsOf([&] {
        auto db = gamedatabase::open(world / "db");
        std::string value;
        if (!db->Get(leveldb::ReadOptions(), "~local_player", &value).ok()) made.error = "the player is missing";
        benchmark::DoNotOptimize(value.data());
      });
    };
    auto means = inturns::time(chooseRounds, 5, {floor, choose});
    made.floor = std::move(means[0]);
    made.choose = std::move(means[1]);
    return made;
  }();
  return result;
}

void reportChoosing(benchmark::State& state, const std::vector<double> Choosing::*side, size_t& repetition) {
  const Choosing& runs = chooseInTurns();
  inturns::report(state, runs.*side, repetition, runs.error);
  state.counters["database MB"] = runs.databaseMB;
}

void BM_ChooseWorld50MB(benchmark::State& state) {
  static size_t repetition = 0;
  reportChoosing(state, &Choosing::choose, repetition);
}
BENCHMARK(BM_ChooseWorld50MB)->Apply(inturns::inRounds<chooseRounds>)->Unit(benchmark::kMillisecond);

void BM_LevelDBOpenAndReadPlayer50MB(benchmark::State& state) {
  static size_t repetition = 0;
  reportChoosing(state, &Choosing::floor, repetition);
}
BENCHMARK(BM_LevelDBOpenAndReadPlayer50MB)->Apply(inturns::inRounds<chooseRounds>)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
