#include "ui/TableView.h"

#include <cmath>

#include <gtest/gtest.h>

#include "ui/Exception.h"
#include "ui/Label.h"
#include "ui/TestDriver.h"
#include "ui/Window.h"

namespace ui {
namespace {

// Rows show their own index; every callback is counted.
class Rows : public TableViewDataSource, public TableViewDelegate {
 public:
  std::vector<long> rowsPerSection{10000};
  double headerHeight = TableViewAutomaticDimension;
  bool highlight = true;
  std::vector<IndexPath> selections;
  std::vector<double> widthsWhileFilling;

  long numberOfSectionsInTableView(TableView&) override { return long(rowsPerSection.size()); }
  long numberOfRowsInSection(TableView&, long section) override { return rowsPerSection[size_t(section)]; }
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, const IndexPath& path) override {
    auto cell = table.dequeueReusableCell("cell", path);
    widthsWhileFilling.push_back(cell->bounds().width());
    cell->textLabel()->setText(label(path));
    return cell;
  }
  std::string titleForHeaderInSection(TableView&, long section) override { return "S" + std::to_string(section); }
  double heightForHeaderInSection(TableView&, long) override { return headerHeight; }
  std::shared_ptr<View> viewForHeaderInSection(TableView&, long section) override {
    if (headerHeight <= 0) return nullptr;
    auto header = std::make_shared<View>(Rect(0, 0, 320, headerHeight));
    header->setTag(1000 + section);
    return header;
  }
  bool shouldHighlightRowAtIndexPath(TableView&, const IndexPath&) override { return highlight; }
  void didSelectRowAtIndexPath(TableView&, const IndexPath& path) override { selections.push_back(path); }

  static std::string label(const IndexPath& path) {
    return std::to_string(path.section) + ":" + std::to_string(path.row);
  }
};

// A cell that never stays selected, as the world list's cells do.
class RefusingCell : public TableViewCell {
 public:
  using TableViewCell::setSelected;
  using TableViewCell::TableViewCell;
  void setSelected(bool selected, bool animated) override {
    TableViewCell::setSelected(selected, animated);
    TableViewCell::setSelected(false, animated);
  }
};

struct Fixture {
  TestDriver driver;
  std::shared_ptr<Window> window = std::make_shared<Window>(Rect(0, 0, 320, 480));
  std::shared_ptr<TableView> table;
  std::shared_ptr<Rows> rows = std::make_shared<Rows>();
  int cellsMade = 0;

  explicit Fixture(TableViewStyle style = TableViewStyle::Plain, bool refusing = false) {
    table = std::make_shared<TableView>(Rect(0, 0, 320, 480), style);
    table->registerClass("cell", [this, refusing](TableViewCellStyle s, const std::string& id) {
      ++cellsMade;
      return refusing ? std::make_shared<RefusingCell>(s, id) : std::make_shared<TableViewCell>(s, id);
    });
  }
  void show() {
    table->setDataSource(rows);
    table->setDelegate(rows);
    window->addSubview(table);
  }
};

// Every row that overlaps the visible area has a cell at its place, showing
// its own index, and no other cell is on screen.
void expectScreenShowsItsOwnRows(const Fixture& f, const std::string& where) {
  Rect b = f.table->bounds();
  long first = long(std::floor(b.y() / 44));
  long last = std::min(9999L, long(std::ceil(b.maxY() / 44)) - 1);
  auto paths = f.table->indexPathsForVisibleRows();
  ASSERT_EQ(long(paths.size()), last - first + 1) << where;
  for (long row = first; row <= last; ++row) {
    auto cell = f.table->cellForRowAtIndexPath(IndexPath{0, row});
    ASSERT_NE(cell, nullptr) << where << " row " << row;
    EXPECT_EQ(cell->textLabel()->text(), Rows::label(IndexPath{0, row})) << where;
    EXPECT_EQ(cell->frame(), Rect(0, row * 44.0, 320, 44)) << where;
    EXPECT_EQ(cell->superview(), f.table) << where;
  }
}

TEST(TableViewReuse, TenThousandRowsNeedOnlyAScreenfulOfCells) {
  Fixture f;
  f.rows->headerHeight = 0;
  f.show();
  EXPECT_EQ(f.table->contentSize().height, 440000);
  const long fitOnScreen = 480 / 44 + 2;  // partial rows at both edges
  expectScreenShowsItsOwnRows(f, "top");
  // Down by wheel turns of assorted sizes, through the window's event path.
  double steps[] = {200, 37, 480, 1, 333.5};
  for (int i = 0; f.table->contentOffset().y < f.table->maximumContentOffset().y; ++i) {
    f.driver.wheel(*f.window, Point{160, 240}, steps[i % 5]);
    ASSERT_LE(long(f.table->visibleCells().size()), fitOnScreen);
    if (i % 97 == 0) expectScreenShowsItsOwnRows(f, "offset " + std::to_string(f.table->contentOffset().y));
  }
  EXPECT_EQ(f.table->contentOffset().y, 440000 - 480);
  expectScreenShowsItsOwnRows(f, "bottom");
  // And back up by dragging.
  f.driver.drag(*f.window, Point{160, 60}, Point{160, 460});
  EXPECT_EQ(f.table->contentOffset().y, 440000 - 480 - 400);
  expectScreenShowsItsOwnRows(f, "after a drag");
  EXPECT_LE(f.cellsMade, fitOnScreen + 2);
  for (double width : f.rows->widthsWhileFilling) ASSERT_EQ(width, 320);
}

TEST(TableViewReuse, ReloadAsksAgainForCountsAndVisibleRows) {
  Fixture f;
  f.rows->rowsPerSection = {3};
  f.show();
  EXPECT_EQ(f.table->visibleCells().size(), 3u);
  f.rows->rowsPerSection = {1, 2};
  f.table->reloadData();
  EXPECT_EQ(f.table->numberOfSections(), 2);
  EXPECT_EQ(f.table->indexPathsForVisibleRows(), (std::vector<IndexPath>{{0, 0}, {1, 0}, {1, 1}}));
  EXPECT_EQ(f.table->cellForRowAtIndexPath({1, 1})->textLabel()->text(), "1:1");
  EXPECT_EQ(f.cellsMade, 3);  // the three cells went round again
  EXPECT_THROW(f.table->dequeueReusableCell("nobody registered this", {0, 0}), Exception);
}

TEST(TableViewHeaders, PlainHeadersStayPinnedAtTheTopAndCoverTheRows) {
  Fixture f;
  f.rows->rowsPerSection = {10, 10, 10};
  f.rows->headerHeight = 26;  // sections are 26 + 440 = 466 points high
  f.show();
  // Where each header stands is the layout's (TableLayoutQueries); here, that
  // the table places the delegate's views there and over the rows.
  f.table->setContentOffset(Point{0, 450});
  EXPECT_EQ(f.table->headerViewForSection(0)->frame(), Rect(0, 440, 320, 26)) << "pushed up by the next one";
  EXPECT_EQ(f.table->headerViewForSection(1)->tag(), 1001);
  f.table->setContentOffset(Point{0, 300});
  EXPECT_NE(std::dynamic_pointer_cast<TableViewCell>(f.table->subviews().back()), f.table->subviews().back());
  // A tap on the pinned header does not select the row under it.
  f.driver.tap(*f.window, Point{160, 10});
  EXPECT_TRUE(f.rows->selections.empty());
  f.driver.tap(*f.window, Point{160, 40});
  EXPECT_EQ(f.rows->selections, (std::vector<IndexPath>{{0, 7}}));  // row 7 spans 334...378

  // A titled plain header the delegate leaves to the table is 22 points high.
  f.rows->headerHeight = TableViewAutomaticDimension;
  f.table->reloadData();
  EXPECT_EQ(f.table->rectForHeaderInSection(1), (Rect{0, 462, 320, 22}));  // 22 + 440 below section 0's header
}

TEST(TableViewSelection, ATapSelectsOnceAndADragNever) {
  struct Case {
    const char* what;
    bool highlight;
    bool refusing;
    std::vector<IndexPath> reported;
    bool staysSelected;
  };
  std::vector<Case> cases = {
      {"plain cell", true, false, {{0, 2}}, true},
      {"cell that undoes its selection", true, true, {{0, 2}}, false},
      {"rows that never highlight", false, false, {}, false},
  };
  for (const auto& c : cases) {
    Fixture f(TableViewStyle::Plain, c.refusing);
    f.rows->rowsPerSection = {40};
    f.rows->highlight = c.highlight;
    f.show();
    f.driver.tap(*f.table->cellForRowAtIndexPath({0, 2}));
    EXPECT_EQ(f.rows->selections, c.reported) << c.what;
    EXPECT_EQ(f.table->cellForRowAtIndexPath({0, 2})->isSelected(), c.staysSelected) << c.what;
    EXPECT_FALSE(f.table->cellForRowAtIndexPath({0, 2})->isHighlighted()) << c.what;
    // The armor and tag tree screens deselect at once.
    f.table->deselectRowAtIndexPath({0, 2}, true);
    EXPECT_FALSE(f.table->cellForRowAtIndexPath({0, 2})->isSelected()) << c.what;
    // A drag that starts on a row (row 5 spans 220...264) scrolls and selects nothing.
    f.driver.drag(*f.window, Point{160, 240}, Point{160, 20});
    EXPECT_GT(f.table->contentOffset().y, 0) << c.what;
    EXPECT_EQ(f.rows->selections, c.reported) << c.what;
    for (auto& cell : f.table->visibleCells()) EXPECT_FALSE(cell->isHighlighted()) << c.what;
  }
}

TEST(TableViewGrouped, RowsSitInsetInGroupsUnderTheirTitles) {
  Fixture f(TableViewStyle::Grouped);
  f.rows->rowsPerSection = {4, 4};
  f.show();
  EXPECT_EQ(f.table->rectForRowAtIndexPath({0, 0}), Rect(10, 38, 300, 44));
  EXPECT_EQ(f.table->rectForRowAtIndexPath({1, 0}), Rect(10, 260, 300, 44));
  auto header = f.table->headerViewForSection(1);
  ASSERT_NE(header, nullptr);  // the data source's title, as the table draws it
  auto title = std::dynamic_pointer_cast<Label>(header->subviews().at(0));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), "S1");
}

}  // namespace
}  // namespace ui
