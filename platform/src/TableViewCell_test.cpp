#include "ui/TableViewCell.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/CollectionViewCell.h"
#include "ui/GraphicsContext.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/PictureCheck.h"
#include "ui/TableView.h"
#include "ui/TestDriver.h"
#include "ui/Window.h"

namespace ui {
namespace {

// The two kinds of cell keep their backgrounds the same way; only their
// selection calls differ.
struct TableCell {
  std::shared_ptr<TableViewCell> cell = std::make_shared<TableViewCell>(TableViewCellStyle::Default, "cell");
  void select(bool on) { cell->setSelected(on, false); }
  void highlight(bool on) { cell->setHighlighted(on, false); }
};
struct CollectionCell {
  std::shared_ptr<CollectionViewCell> cell = std::make_shared<CollectionViewCell>(Rect(0, 0, 320, 44));
  void select(bool on) { cell->setSelected(on); }
  void highlight(bool on) { cell->setHighlighted(on); }
};

template <typename Kind>
class CellBackgrounds : public ::testing::Test {};
using Kinds = ::testing::Types<TableCell, CollectionCell>;
TYPED_TEST_SUITE(CellBackgrounds, Kinds);

// The cell's subviews back to front, by what they are.
template <typename Cell>
std::vector<std::string> layers(const Cell& cell,
                                const std::vector<std::pair<std::shared_ptr<View>, std::string>>& names) {
  std::vector<std::string> out;
  for (const auto& view : cell.subviews()) {
    std::string name = "?";
    if (view == cell.contentView()) name = "content";
    for (const auto& [known, knownName] : names) {
      if (view == known) name = knownName;
    }
    out.push_back(name);
  }
  return out;
}

TYPED_TEST(CellBackgrounds, StayInTheirOrderThroughSelectionHighlightAndReuse) {
  TypeParam kind;
  auto& cell = *kind.cell;
  auto background = std::make_shared<View>(), selected = std::make_shared<View>(), other = std::make_shared<View>(),
       added = std::make_shared<View>(Rect(1, 1, 5, 5));
  const std::vector<std::pair<std::shared_ptr<View>, std::string>> names = {
      {background, "background"}, {selected, "selected"}, {other, "other background"}, {added, "added"}};
  cell.addSubview(added);
  cell.setBackgroundView(background);
  cell.setSelectedBackgroundView(selected);

  using Layers = std::vector<std::string>;
  struct Step {
    const char* what;
    std::function<void()> act;
    Layers expected;
    bool isSelected, isHighlighted;
  };
  const Step steps[] = {
      {"at rest", [] {}, {"background", "content", "added"}, false, false},
      {"highlighted", [&] { kind.highlight(true); }, {"background", "selected", "content", "added"}, false, true},
      {"and selected", [&] { kind.select(true); }, {"background", "selected", "content", "added"}, true, true},
      {"no longer highlighted",
       [&] { kind.highlight(false); },
       {"background", "selected", "content", "added"},
       true,
       false},
      {"deselected", [&] { kind.select(false); }, {"background", "content", "added"}, false, false},
      {"selected, then reused",
       [&] {
         kind.select(true);
         kind.highlight(true);
         cell.prepareForReuse();
       },
       {"background", "content", "added"},
       false,
       false},
      {"background taken away while selected",
       [&] {
         kind.select(true);
         cell.setBackgroundView(nullptr);
       },
       {"selected", "content", "added"},
       true,
       false},
      {"another background",
       [&] { cell.setBackgroundView(other); },
       {"other background", "selected", "content", "added"},
       true,
       false},
      {"selected background taken away",
       [&] { cell.setSelectedBackgroundView(nullptr); },
       {"other background", "content", "added"},
       true,
       false},
      {"selected background given while selected",
       [&] { cell.setSelectedBackgroundView(selected); },
       {"other background", "selected", "content", "added"},
       true,
       false},
  };
  for (const Step& step : steps) {
    step.act();
    Layers shown = layers(cell, names);
    // A table cell without a selected background shows its own grey; it is
    // checked below, and left out here.
    if (!cell.selectedBackgroundView()) std::erase(shown, "?");
    EXPECT_EQ(shown, step.expected) << step.what;
    EXPECT_EQ(cell.isSelected(), step.isSelected) << step.what;
    EXPECT_EQ(cell.isHighlighted(), step.isHighlighted) << step.what;
  }
  EXPECT_EQ(background->superview(), nullptr);

  // Every layer keeps filling the cell as it is resized.
  cell.setFrame(Rect(10, 20, 300, 60));
  for (const auto& view : cell.subviews()) {
    if (view != added) {
      EXPECT_EQ(view->frame(), Rect(0, 0, 300, 60));
    }
  }
  EXPECT_EQ(added->frame(), Rect(1, 1, 5, 5)) << "a view added to the cell is the cell's to place";
}

TEST(TableViewCellSelection, WithoutASelectedBackgroundTheCellShowsLightGrey) {
  TableCell kind;
  auto& cell = *kind.cell;
  auto greyBehindContent = [&] {
    auto below = cell.subviews().front();
    return below != cell.contentView() && below->backgroundColor() == Color::white(0.85) &&
           below->frame() == cell.bounds();
  };
  EXPECT_EQ(cell.subviews().size(), 1u);
  kind.highlight(true);
  EXPECT_TRUE(greyBehindContent());
  kind.highlight(false);
  EXPECT_EQ(cell.subviews().size(), 1u);
  kind.select(true);
  EXPECT_TRUE(greyBehindContent());
  // A selected background given now takes the grey's place at once.
  auto chosen = std::make_shared<View>();
  cell.setSelectedBackgroundView(chosen);
  EXPECT_EQ(cell.subviews(), (std::vector<std::shared_ptr<View>>{chosen, cell.contentView()}));

  CollectionCell item;
  item.select(true);
  EXPECT_EQ(item.cell->subviews().size(), 1u) << "a collection cell shows nothing of its own";
}

TEST(TableViewCellLayout, TheImageAndTextSitInTheContentViewWithinTheMargins) {
  TestDriver driver;
  auto picture = [](double width, double height) {
    ImageContext bitmap(Size{width, height}, false, 1);
    return bitmap.image();
  };
  struct Case {
    const char* what;
    std::shared_ptr<Image> image;
    Rect imageFrame, textFrame;
  };
  const Case cases[] = {
      {"no image", nullptr, Rect(), Rect(15, 0, 290, 44)},
      {"a small image", picture(20, 30), Rect(15, 7, 20, 30), Rect(50, 0, 255, 44)},
      {"an image taller than the row", picture(30, 60), Rect(15, 0, 30, 44), Rect(60, 0, 245, 44)},
  };
  for (const Case& c : cases) {
    TableViewCell cell(TableViewCellStyle::Default, "cell");
    cell.textLabel()->setText("Survival");
    if (c.image) cell.imageView()->setImage(c.image);
    cell.setFrame(Rect(0, 88, 320, 44));
    cell.layoutSubviews();
    EXPECT_EQ(cell.textLabel()->superview(), cell.contentView()) << c.what;
    EXPECT_EQ(cell.textLabel()->frame(), c.textFrame) << c.what;
    if (c.image) {
      EXPECT_EQ(cell.imageView()->frame(), c.imageFrame) << c.what;
    }
  }
}

// Rows of a plain table, each a white cell.
class WhiteRows : public TableViewDataSource {
 public:
  long numberOfRowsInSection(TableView&, long) override { return 3; }
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, const IndexPath& path) override {
    return table.dequeueReusableCell("cell", path);
  }
};

TEST(TableViewCellPainting, ASeparatorLineClosesEachRowFromItsInset) {
  TestDriver driver;
  auto window = std::make_shared<Window>(Rect(0, 0, 100, 132));
  auto table = std::make_shared<TableView>(Rect(0, 0, 100, 132));
  table->registerClass<TableViewCell>("cell");
  auto rows = std::make_shared<WhiteRows>();
  table->setDataSource(rows);
  const Color line = Color::rgba(0.2, 0.4, 0.6);
  table->setSeparatorColor(line);
  window->addSubview(table);
  auto expected = [&](Point p) -> std::optional<Color> {
    bool onLine = std::fmod(p.y, 44) >= 43.5 && p.x >= 15;
    return onLine ? line : Color::white(1);
  };
  EXPECT_EQ(pictureDifferences(*window->snapshot(2), expected, 1), "");

  table->setSeparatorStyle(TableViewCellSeparatorStyle::None);
  auto none = [](Point) -> std::optional<Color> { return Color::white(1); };
  EXPECT_EQ(pictureDifferences(*window->snapshot(2), none, 1), "");
}

}  // namespace
}  // namespace ui
