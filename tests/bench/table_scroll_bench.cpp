// Scrolling a 10,000-row table: what one frame costs when the content moves
// by a whole screen, so that every row on screen is new and each cell goes
// back through its reuse queue and the data source, and the window is
// painted. The budget is 2 ms a frame; read the median.
//
//   build/bin/table_scroll_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only
#include <cstdlib>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/TestDriver.h"
#include "ui/Window.h"

namespace {

constexpr long rowCount = 10000;

class Rows : public ui::TableViewDataSource {
 public:
  long numberOfRowsInSection(ui::TableView&, long) override { return rowCount; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, const ui::IndexPath& path) override {
    auto cell = table.dequeueReusableCell("cell", path);
    cell->textLabel()->setText("Row " + std::to_string(path.row));
    return cell;
  }
};

struct Scene {
  std::shared_ptr<ui::Window> window;
  std::shared_ptr<ui::TableView> table;
  std::shared_ptr<Rows> rows = std::make_shared<Rows>();

  Scene() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static ui::TestDriver driver;
    window = std::make_shared<ui::Window>(ui::Rect(0, 0, 568, 320));
    table = std::make_shared<ui::TableView>(ui::Rect(0, 0, 568, 320));
    table->registerClass<ui::TableViewCell>("cell");
    table->setDataSource(rows);
    window->addSubview(table);
  }
  // One screen further, back to the top after the last screen.
  void scrollOneScreen() {
    double y = table->contentOffset().y + table->bounds().height();
    if (y > table->maximumContentOffset().y) y = 0;
    table->setContentOffset(ui::Point{0, y});
  }
};

void BM_TableScrollOneScreenAndPaint(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    scene.scrollOneScreen();
    auto frame = scene.window->snapshot(1);
    benchmark::DoNotOptimize(frame.get());
  }
}
BENCHMARK(BM_TableScrollOneScreenAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
