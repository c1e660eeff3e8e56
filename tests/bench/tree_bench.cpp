// The tag tree screen's costs that a user feels:
//  - opening a compound of 20,000 tags (1 MB of NBT): its rows spliced in,
//    the table reloaded and the rows on screen filled (budget 30 ms);
//  - one scrolled frame through those rows, painted (budget 2 ms);
//  - one edit of a level of 100 tags: the value parsed, the whole level
//    written to level.dat (with level.dat_old and levelname.txt, each
//    atomically), the rows rebuilt and the window painted (budget 5 ms).
// Read the medians:
//
//   build/bin/tree_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "MenuOnScreen.h"
#include "Tarnbook/TBKNBT.h"
#include "tree/TagTreeViewController.h"

namespace {

// Before any Qt object: benchmarks run without a display.
const bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;

// A root whose "big" compound holds 20,000 tags, about 1 MB: strings,
// numbers and small compounds, as a large player record mixes them.
std::shared_ptr<TBKCompoundTag> megabyteTree() {
  auto big = std::make_shared<TBKCompoundTag>("big");
  for (int i = 0; i < 20000; ++i) {
    std::string name = "tag" + std::to_string(i);
    if (i % 3 == 0) {
      big->setValueForKey(std::make_shared<TBKStringTag>(
          name, "minecraft:a_block_with_a_long_name_as_add_ons_give_them_" + std::string(48, 'x') + std::to_string(i)));
    } else if (i % 3 == 1) {
      big->setValueForKey(TBKNumberTag::doubleTag(name, i * 0.5));
    } else {
      auto entry = std::make_shared<TBKCompoundTag>(name);
      entry->setValueForKey(TBKNumberTag::intTag("x", i));
      big->setValueForKey(entry);
    }
  }
  auto root = std::make_shared<TBKCompoundTag>("");
  root->setValueForKey(big);
  return root;
}

// A tree whose commit writes nothing: these two measure the screen alone.
std::shared_ptr<TagTreeViewController> showTree(WorldOnScreen& stage, std::shared_ptr<TBKCompoundTag> tree) {
  auto screen = std::make_shared<TagTreeViewController>(
      "Tags", std::make_shared<TreeRecord>(std::move(tree), [](const std::shared_ptr<TBKCompoundTag>&) {}));
  stage.push(screen);
  return screen;
}

void BM_OpenMegabyteCompound(benchmark::State& state) {
  WorldOnScreen stage;
  auto tree = megabyteTree();
  state.counters["bytes"] = double(TBKNBT::serialise(*tree).size());
  auto screen = showTree(stage, tree);
  for (auto _ : state) {
    screen->setRowOpen(0, false);
    auto start = std::chrono::steady_clock::now();
    screen->setRowOpen(0, true);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["rows"] = double(screen->rows().rows().size());
}
BENCHMARK(BM_OpenMegabyteCompound)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TreeScrollOneScreenAndPaint(benchmark::State& state) {
  WorldOnScreen stage;
  auto screen = showTree(stage, megabyteTree());
  screen->setRowOpen(0, true);
  auto table = screen->tableView();
  for (auto _ : state) {
    double y = table->contentOffset().y + table->bounds().height();
    if (y > table->maximumContentOffset().y) y = 0;
    table->setContentOffset(ui::Point{0, y});
    auto frame = stage.window->snapshot(1);
    benchmark::DoNotOptimize(frame.get());
  }
}
BENCHMARK(BM_TreeScrollOneScreenAndPaint)->Unit(benchmark::kMillisecond);

void BM_EditHundredTagLevel(benchmark::State& state) {
  WorldOnScreen stage;
  auto level = stage.db->levelData();
  for (int i = 0; level->count() < 100; ++i) level->setValueForKey(TBKNumberTag::intTag("rule" + std::to_string(i), i));
  stage.db->setLevelData(level);
  auto db = stage.db;
  auto screen = TagTreeViewController::forLevel(db);
  stage.push(screen);
  size_t row = screen->rows().rowOf(screen->tree()->objectForKeyedSubscript("SpawnX").get());
  int32_t value = 0;
  for (auto _ : state) {
    screen->selectRow(row);
    screen->editSelected();
    screen->promptField()->setText(std::to_string(++value));
    screen->confirmPrompt();
    auto frame = stage.window->snapshot(1);
    benchmark::DoNotOptimize(frame.get());
  }
  state.counters["tags"] = double(screen->tree()->count());
}
BENCHMARK(BM_EditHundredTagLevel)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
