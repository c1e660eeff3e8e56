#include "equipment/ItemSelectorTableViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "ui/Text.h"

namespace {

struct PickerOnScreen : WorldOnScreen {
  std::vector<std::pair<uint16_t, uint16_t>> chosen;
  std::shared_ptr<ItemSelectorTableViewController> picker;

  PickerOnScreen() {
    picker = std::make_shared<ItemSelectorTableViewController>(
        [this](uint16_t id, uint16_t damage) { chosen.emplace_back(id, damage); });
    push(picker);
  }
  void search(const std::string& text) {
    driver.tap(*picker->searchBar()->textField());
    picker->searchBar()->textField()->selectAll();
    driver.type(*window, text, false);
    driver.runUntilIdle();
  }
  std::vector<std::string> names(const std::vector<std::string>& items) const {
    std::vector<std::string> out;
    for (auto& item : items)
      out.push_back(BVLItemIDSource::sharedSource()->itemDefinitionWithStringRepresentation(item)->name);
    return out;
  }
};

TEST(ItemPicker, TheWholeCatalogueIsListedByNameAndASearchKeepsTheNamesThatBeginWithTheText) {
  PickerOnScreen s;
  auto all = s.names(s.picker->allItems());
  EXPECT_EQ(all.size(), BVLItemIDSource::sharedSource()->allItems().size());
  for (size_t i = 1; i < all.size(); ++i) {
    EXPECT_LE(ui::localizedCaseInsensitiveCompare(all[i - 1], all[i]), 0) << all[i - 1] << " / " << all[i];
  }

  // A search lists the names that begin with its text, in any case.
  struct Case {
    const char* text;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"iRoN c", {"Iron Chestplate"}},
      {"lime", {"Lime Carpet", "Lime Dye", "Lime stained clay", "Lime Stained Glass"}},
      {"Ingot", {}},  // only inside names ("Iron Ingot", "Gold Ingot")
      {"zzz", {}},
  };
  for (const Case& c : cases) {
    s.search(c.text);
    EXPECT_EQ(s.names(s.picker->searchData()), c.expected) << c.text;
  }
  s.search("lime");
  s.driver.pressKeys(*s.window, "Ctrl+A");
  s.driver.pressKeys(*s.window, "Backspace");
  s.driver.runUntilIdle();
  EXPECT_TRUE(s.picker->searchData().empty()) << "an empty text lists nothing";
  EXPECT_EQ(s.picker->tableView()->numberOfRowsInSection(0), long(s.picker->allItems().size()));
}

TEST(ItemPicker, AChoiceCallsBackOnceWithTheRowsOwnItemAndCloses) {
  PickerOnScreen s;
  s.search("lime");
  auto results = s.picker->searchDisplayController()->searchResultsTableView();
  auto second = results->cellForRowAtIndexPath(ui::IndexPath{0, 1});
  ASSERT_NE(second, nullptr);
  s.driver.tap(*second);
  // A second tap while the picker slides away.
  s.picker->didSelectRowAtIndexPath(*results, ui::IndexPath{0, 2});
  s.driver.runUntilIdle();
  ASSERT_EQ(s.chosen.size(), 1u);
  EXPECT_EQ(s.chosen[0], (std::pair<uint16_t, uint16_t>{351, 10})) << "Lime Dye, not row 1 of the full list";
  EXPECT_EQ(s.navigation->viewControllers().size(), 1u) << "only the picker went";

  PickerOnScreen back;
  back.back();
  EXPECT_TRUE(back.chosen.empty());
}

}  // namespace
