#include "ui/SelectableCell.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/CollectionViewCell.h"

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

// Table and collection cells keep their backgrounds alike; a collection cell
// shows how without the default selection grey a table cell adds.
TEST(CellBackgrounds, StayInTheirOrderThroughSelectionHighlightAndReuse) {
  auto cell = std::make_shared<CollectionViewCell>(Rect(0, 0, 320, 44));
  auto background = std::make_shared<View>(), selected = std::make_shared<View>(),
       added = std::make_shared<View>(Rect(1, 1, 5, 5));
  const std::vector<std::pair<std::shared_ptr<View>, std::string>> names = {
      {background, "background"}, {selected, "selected"}, {added, "added"}};
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
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(layers(*cell, names), step.expected) << step.what;
    EXPECT_EQ(cell->isSelected(), step.isSelected) << step.what;
    EXPECT_EQ(cell->isHighlighted(), step.isHighlighted) << step.what;
  }

  // Every layer, the selected one too, keeps filling the cell as it is resized.
  cell->setSelected(true);
  cell->setFrame(Rect(10, 20, 300, 60));
  for (const auto& view : cell->subviews()) {
    if (view != added) {
      EXPECT_EQ(view->frame(), Rect(0, 0, 300, 60));
    }
  }
}

}  // namespace
}  // namespace ui
