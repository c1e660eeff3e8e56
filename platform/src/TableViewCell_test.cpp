#include "ui/TableViewCell.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/CollectionViewCell.h"
#include "ui/GraphicsContext.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TestDriver.h"

namespace ui {
namespace {

// The cell's subviews back to front, by what they are, one word each.
std::string layers(const SelectableCell& cell,
                   const std::vector<std::pair<std::shared_ptr<View>, std::string>>& names) {
  std::string out;
  for (const auto& view : cell.subviews()) {
    std::string name = view == cell.contentView() ? "content" : "?";
    for (const auto& [known, knownName] : names) {
      if (view == known) name = knownName;
    }
    out += (out.empty() ? "" : " ") + name;
  }
  return out;
}

// Table and collection cells share this code (SelectableCell); the collection
// cell shows it without a default grey of its own.
TEST(CellBackgrounds, StayInTheirOrderThroughSelectionHighlightAndReuse) {
  auto cell = std::make_shared<CollectionViewCell>(Rect(0, 0, 320, 44));
  auto background = std::make_shared<View>(), selected = std::make_shared<View>(), other = std::make_shared<View>(),
       added = std::make_shared<View>(Rect(1, 1, 5, 5));
  const std::vector<std::pair<std::shared_ptr<View>, std::string>> names = {
      {background, "background"}, {selected, "selected"}, {other, "other"}, {added, "added"}};
  cell->addSubview(added);
  cell->setBackgroundView(background);
  cell->setSelectedBackgroundView(selected);

  struct Step {
    const char* what;
    std::function<void()> act;
    const char* expected;
    bool isSelected, isHighlighted;
  };
  const Step steps[] = {
      {"at rest", [] {}, "background content added", false, false},
      {"highlighted", [&] { cell->setHighlighted(true); }, "background selected content added", false, true},
      {"and selected", [&] { cell->setSelected(true); }, "background selected content added", true, true},
      {"no longer highlighted", [&] { cell->setHighlighted(false); }, "background selected content added", true, false},
      {"deselected", [&] { cell->setSelected(false); }, "background content added", false, false},
      {"selected, then reused",
       [&] {
         cell->setSelected(true);
         cell->setHighlighted(true);
         cell->prepareForReuse();
       },
       "background content added", false, false},
      {"background taken away while selected",
       [&] {
         cell->setSelected(true);
         cell->setBackgroundView(nullptr);
       },
       "selected content added", true, false},
      {"another background", [&] { cell->setBackgroundView(other); }, "other selected content added", true, false},
      {"selected background taken away", [&] { cell->setSelectedBackgroundView(nullptr); }, "other content added", true,
       false},
      {"selected background given while selected", [&] { cell->setSelectedBackgroundView(selected); },
       "other selected content added", true, false},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(layers(*cell, names), step.expected) << step.what;
    EXPECT_EQ(cell->isSelected(), step.isSelected) << step.what;
    EXPECT_EQ(cell->isHighlighted(), step.isHighlighted) << step.what;
  }
  EXPECT_EQ(background->superview(), nullptr);

  // Every layer keeps filling the cell as it is resized.
  cell->setFrame(Rect(10, 20, 300, 60));
  for (const auto& view : cell->subviews()) {
    if (view != added) {
      EXPECT_EQ(view->frame(), Rect(0, 0, 300, 60));
    }
  }
  EXPECT_EQ(added->frame(), Rect(1, 1, 5, 5)) << "a view added to the cell is the cell's to place";
}

TEST(TableViewCellSelection, WithoutASelectedBackgroundTheCellShowsLightGrey) {
  auto cell = std::make_shared<TableViewCell>(TableViewCellStyle::Default, "cell");
  auto greyBehindContent = [&] {
    auto below = cell->subviews().front();
    return below != cell->contentView() && below->backgroundColor() == Color::white(0.85) &&
           below->frame() == cell->bounds();
  };
  EXPECT_EQ(cell->subviews().size(), 1u);
  cell->setHighlighted(true, false);
  EXPECT_TRUE(greyBehindContent());
  cell->setHighlighted(false, false);
  EXPECT_EQ(cell->subviews().size(), 1u);
  cell->setSelected(true, false);
  EXPECT_TRUE(greyBehindContent());
  // A selected background given now takes the grey's place at once.
  auto chosen = std::make_shared<View>();
  cell->setSelectedBackgroundView(chosen);
  EXPECT_EQ(cell->subviews(), (std::vector<std::shared_ptr<View>>{chosen, cell->contentView()}));
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

}  // namespace
}  // namespace ui
