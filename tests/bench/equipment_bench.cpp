// The equipment screens' costs that a user feels:
//  - opening the item picker, which sorts the whole catalogue by name in the
//    user's collation (budget 30 ms), for an early world's numbered items and
//    for today's named ones, the larger list;
//  - one keystroke in the picker's search: the filter over the catalogue and
//    the results table reloaded (budget 5 ms);
//  - one item change in the editor: the entry stored, the player tree
//    written to the world's database, the editor redrawn (budget 5 ms).
// Read the medians:
//
//   build/bin/equipment_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only
#include <cstdlib>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "MenuOnScreen.h"
#include "equipment/ItemSelectorTableViewController.h"
#include "equipment/ItemViewController.h"
#include "external/Bevel.h"

namespace {

// Before any Qt object: benchmarks run without a display.
const bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;

std::shared_ptr<ItemSelectorTableViewController> numberedPicker() {
  return std::make_shared<ItemSelectorTableViewController>([](uint16_t, uint16_t) {});
}

// Today's names: every item and block of a recent version, the larger list.
std::shared_ptr<ItemSelectorTableViewController> namedPicker() {
  return std::make_shared<ItemSelectorTableViewController>(
      ItemSelectorTableViewController::NamedCallback([](const std::string&, uint16_t) {}));
}

void openPicker(benchmark::State& state, std::shared_ptr<ItemSelectorTableViewController> (*make)()) {
  WorldOnScreen stage;
  BVLItemIDSource::sharedSource();  // the catalogue is read once per run, not per picker
  size_t items = 0;
  for (auto _ : state) {
    auto picker = make();
    items = picker->allItems().size();
    benchmark::DoNotOptimize(picker->allItems().data());
  }
  state.counters["items"] = double(items);
}
void BM_OpenPicker(benchmark::State& state) { openPicker(state, numberedPicker); }
void BM_OpenNamedPicker(benchmark::State& state) { openPicker(state, namedPicker); }
BENCHMARK(BM_OpenPicker)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenNamedPicker)->Unit(benchmark::kMillisecond);

void filterKeystroke(benchmark::State& state, std::shared_ptr<ItemSelectorTableViewController> (*make)()) {
  WorldOnScreen stage;
  auto picker = make();
  stage.push(picker);
  auto results = picker->searchDisplayController()->searchResultsTableView();
  // Typing "stone" one letter at a time, then again.
  const std::string word = "stone";
  size_t typed = 0;
  for (auto _ : state) {
    typed = typed % word.size() + 1;
    picker->shouldReloadTableForSearchString(*picker->searchDisplayController(), word.substr(0, typed));
    results->reloadData();
    benchmark::DoNotOptimize(picker->searchData().size());
  }
}
void BM_FilterKeystroke(benchmark::State& state) { filterKeystroke(state, numberedPicker); }
void BM_FilterKeystrokeNamed(benchmark::State& state) { filterKeystroke(state, namedPicker); }
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterKeystrokeNamed)->Unit(benchmark::kMillisecond);

void BM_ItemChange(benchmark::State& state) {
  WorldOnScreen stage;
  auto editor = std::make_shared<ItemViewController>(std::make_shared<EquipmentRecord>(stage.db, stage.player),
                                                     stage.player->listForKey("Inventory"), 0);
  stage.push(editor);
  stage.db->setPlayer(stage.player);  // the first write makes the world's backup: not part of a change
  size_t writesBefore = stage.playerWrites();
  bool max = false;
  for (auto _ : state) {
    max = !max;
    stage.driver.tap(max ? *editor->countMaxButton : *editor->damageNoneButton);
  }
  // Each change must have reached the database, or the time means nothing.
  state.counters["writes_per_change"] = double(stage.playerWrites() - writesBefore) / double(state.iterations());
}
// A fixed count keeps every write in the log the check below reads (a longer run
// moves older writes into tables).
BENCHMARK(BM_ItemChange)->Unit(benchmark::kMillisecond)->Iterations(300);

}  // namespace

BENCHMARK_MAIN();
