#include "ui/CollectionView.h"

#include <cmath>

#include <gtest/gtest.h>

#include "ui/TestDriver.h"
#include "ui/Window.h"

namespace ui {
namespace {

using Section = CollectionViewFlowLayout::Section;

// 52-point slots with no gaps, the side insets splitting what is left over
// after whole columns.
Section slots(size_t count, double width) {
  Section s;
  s.itemSizes.assign(count, Size{52, 52});
  s.minimumLineSpacing = 0;
  s.minimumInteritemSpacing = 0;
  double m = std::fmod(width, 52) * 0.5;
  s.sectionInset = EdgeInsets{8, m, 8, m};
  return s;
}

TEST(FlowLayout, AnItemFitsOnlyWhileItEndsInsideTheRightInset) {
  Section s = slots(7, 320);
  s.sectionInset.left = s.sectionInset.right = 4.5;  // half a point too wide for six
  auto frames = CollectionViewFlowLayout::measure(320, {s}).itemFrames[0];
  EXPECT_EQ(frames[5].y(), 60);  // the sixth slot wraps
  // The five left are justified across the line: 4 gaps share 311 - 260.
  EXPECT_EQ(frames[0].x(), 4.5);
  EXPECT_EQ(frames[4].maxX(), 315.5);
  EXPECT_DOUBLE_EQ(frames[1].x() - frames[0].maxX(), 51.0 / 4);
  // The spacing counts too: three 40-point items 10 apart need 140 points.
  Section spaced;
  spaced.itemSizes = {{40, 10}, {40, 10}, {40, 10}};
  spaced.minimumInteritemSpacing = 10;
  EXPECT_EQ(CollectionViewFlowLayout::measure(130, {spaced}).itemFrames[0][2].x(), 0);  // wrapped
}

TEST(FlowLayout, JustifiesFullLinesAndLeftAlignsTheLast) {
  Section s;
  s.itemSizes = {{40, 20}, {40, 40}, {40, 20}, {150, 30}, {40, 10}, {40, 10}};
  s.minimumInteritemSpacing = 10;
  s.minimumLineSpacing = 5;
  s.sectionInset = EdgeInsets{2, 10, 3, 10};
  s.headerReferenceSize = Size{0, 20};
  s.footerReferenceSize = Size{0, 7};
  auto r = CollectionViewFlowLayout::measure(200, {s, Section{}});
  const auto& f = r.itemFrames[0];
  // Line 1: three items justified in 180 points, centred in a 40-point line.
  EXPECT_EQ(f[0], Rect(10, 32, 40, 20));
  EXPECT_EQ(f[1], Rect(80, 22, 40, 40));
  EXPECT_EQ(f[2], Rect(150, 32, 40, 20));
  // Line 2: a lone item that is not the last line is centred.
  EXPECT_EQ(f[3], Rect(25, 67, 150, 30));
  // Line 3, the last: left-aligned at the minimum spacing.
  EXPECT_EQ(f[4], Rect(10, 102, 40, 10));
  EXPECT_EQ(f[5], Rect(60, 102, 40, 10));
  EXPECT_EQ(r.headerFrames[0], Rect(0, 0, 200, 20));
  EXPECT_EQ(r.footerFrames[0], Rect(0, 115, 200, 7));
  EXPECT_EQ(r.contentSize.height, 122);  // the empty second section adds nothing
}

class Slots : public CollectionViewDataSource, public CollectionViewDelegateFlowLayout {
 public:
  long count = 200;
  std::vector<IndexPath> selected;
  size_t cellsMade = 0;
  long numberOfItemsInSection(CollectionView&, long) override { return count; }
  std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(CollectionView& view, const IndexPath& path) override {
    auto cell = view.dequeueReusableCell("Cell", path);
    cell->setTag(path.row);
    return cell;
  }
  void didSelectItemAtIndexPath(CollectionView&, const IndexPath& path) override { selected.push_back(path); }
};

TEST(CollectionViewItems, OnlyItemsOnScreenHaveCellsAndATapSelectsOnce) {
  TestDriver driver;
  auto window = std::make_shared<Window>(Rect(0, 0, 568, 256));
  // The inventory's grid, its sizes from the layout here rather than from the
  // delegate (InventoryGrid): 48 points are left over after ten columns.
  auto layout = std::make_shared<CollectionViewFlowLayout>();
  layout->setItemSize(Size{52, 52});
  layout->setMinimumLineSpacing(0);
  layout->setMinimumInteritemSpacing(0);
  layout->setSectionInset(EdgeInsets{8, 24, 8, 24});
  auto grid = std::make_shared<CollectionView>(Rect(0, 0, 568, 256), layout);
  auto slots = std::make_shared<Slots>();
  grid->registerClass("Cell", [&](const Rect& frame) {
    ++slots->cellsMade;
    return std::make_shared<CollectionViewCell>(frame);
  });
  grid->setDataSource(slots);
  grid->setDelegate(slots);
  window->addSubview(grid);

  EXPECT_EQ(grid->visibleCells().size(), 50u);  // five lines of ten reach into 256 points
  for (int i = 0; i < 40; ++i) driver.wheel(*window, Point{300, 100}, 40);
  EXPECT_EQ(grid->contentOffset().y, grid->maximumContentOffset().y);
  EXPECT_EQ(grid->contentSize().height, 1056);  // 20 lines of ten
  EXPECT_LE(slots->cellsMade, 70u);
  for (const auto& path : grid->indexPathsForVisibleItems()) {
    auto cell = grid->cellForItemAtIndexPath(path);
    EXPECT_EQ(cell->tag(), path.row);  // refilled for its new item
    EXPECT_EQ(cell->frame(), grid->frameForItemAtIndexPath(path));
  }

  IndexPath last{0, 199};
  Rect f = grid->frameForItemAtIndexPath(last);
  driver.tap(*window, grid->convertToWindow(Point{f.x() + 26, f.y() + 26}));
  EXPECT_EQ(slots->selected, std::vector<IndexPath>{last});
  EXPECT_TRUE(grid->cellForItemAtIndexPath(last)->isSelected());
  driver.drag(*window, Point{300, 200}, Point{300, 20});  // a drag selects nothing
  EXPECT_EQ(slots->selected, std::vector<IndexPath>{last});
}

}  // namespace
}  // namespace ui
