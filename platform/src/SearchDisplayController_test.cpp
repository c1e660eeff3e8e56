#include "ui/SearchDisplayController.h"

#include <gtest/gtest.h>

#include "ui/Label.h"
#include "ui/SearchBar.h"
#include "ui/TableView.h"
#include "ui/TestDriver.h"
#include "ui/Text.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace ui {
namespace {

// A table screen with a search, serving both tables as the item picker does.
class Picker : public ViewController,
               public TableViewDataSource,
               public TableViewDelegate,
               public SearchDisplayDelegate {
 public:
  std::vector<std::string> all{"Apple", "apricot", "Banana", "blueberry", "Cherry"};
  std::vector<std::string> found;
  std::vector<std::string> chosen;
  std::shared_ptr<TableView> table;
  std::shared_ptr<SearchBar> bar;
  std::unique_ptr<SearchDisplayController> search;

  void loadView() override {
    table = std::make_shared<TableView>(Rect(0, 0, 320, 480));
    setView(table);
  }
  void viewDidLoad() override {
    auto self = std::dynamic_pointer_cast<Picker>(shared_from_this());
    table->registerClass<TableViewCell>("cell");
    table->setDataSource(self);
    table->setDelegate(self);
    bar = std::make_shared<SearchBar>(Rect(0, 0, 320, 44));
    search = std::make_unique<SearchDisplayController>(bar, self);
    search->setDelegate(self);
    search->setSearchResultsDataSource(self);
    search->setSearchResultsDelegate(self);
    search->searchResultsTableView()->registerClass<TableViewCell>("cell");
    table->setTableHeaderView(bar);
  }
  const std::vector<std::string>& itemsOf(TableView& asking) { return &asking == table.get() ? all : found; }

  long numberOfRowsInSection(TableView& asking, long) override { return long(itemsOf(asking).size()); }
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& asking, const IndexPath& path) override {
    auto cell = asking.dequeueReusableCell("cell", path);
    cell->textLabel()->setText(itemsOf(asking)[size_t(path.row)]);
    return cell;
  }
  void didSelectRowAtIndexPath(TableView& asking, const IndexPath& path) override {
    chosen.push_back(itemsOf(asking)[size_t(path.row)]);
  }
  bool shouldReloadTableForSearchString(SearchDisplayController&, const std::string& text) override {
    found.clear();
    for (const auto& item : all) {
      if (rangeOfStringCaseInsensitive(item, text)) found.push_back(item);
    }
    return true;
  }
};

// A picker at the root of a shown window.
std::pair<std::shared_ptr<Window>, std::shared_ptr<Picker>> pickerOnScreen() {
  auto window = std::make_shared<Window>(Rect(0, 0, 320, 480));
  auto picker = std::make_shared<Picker>();
  window->setRootViewController(picker);
  window->makeKeyAndVisible();
  return {window, picker};
}

// Which results show, and that a choice reports the result's own item, are
// the item picker's (ItemPicker); here, how a search starts and ends.
TEST(SearchDisplay, TheCoverComesAndGoesWithTheTextAndCancelOrATapOnItEndsTheSearch) {
  TestDriver driver;
  auto [window, picker] = pickerOnScreen();
  auto results = picker->search->searchResultsTableView();

  driver.tap(*picker->bar->textField());
  EXPECT_TRUE(picker->search->isActive());
  EXPECT_TRUE(picker->bar->showsCancelButton());
  EXPECT_FALSE(picker->table->isScrollEnabled());
  EXPECT_EQ(results->superview(), nullptr);  // nothing typed yet: only the dimming cover

  driver.type(*window, "B", false);
  EXPECT_EQ(results->superview(), picker->table);
  EXPECT_EQ(results->frame(), Rect(0, 44, 320, 436));  // below the bar
  EXPECT_EQ(results->visibleCells().size(), 2u);

  // Emptying the text leaves no results showing.
  driver.pressKeys(*window, "Backspace");
  EXPECT_EQ(results->superview(), nullptr);
  EXPECT_TRUE(picker->search->isActive());

  // Cancel ends the search and uncovers the contents.
  driver.type(*window, "c", false);
  driver.tap(*window, Point{300, 22});
  EXPECT_FALSE(picker->search->isActive());
  EXPECT_EQ(picker->bar->text(), "");
  EXPECT_FALSE(picker->bar->showsCancelButton());
  EXPECT_EQ(results->superview(), nullptr);
  EXPECT_TRUE(picker->table->isScrollEnabled());
  EXPECT_FALSE(picker->bar->textField()->isFirstResponder());

  // A tap on the dimming cover ends a search too, and reaches no row under it.
  driver.tap(*picker->bar->textField());
  driver.tap(*window, Point{160, 300});
  EXPECT_FALSE(picker->search->isActive());
  EXPECT_TRUE(picker->chosen.empty());
}

TEST(SearchDisplay, AWindowClosedInTheMiddleOfASearchTakesItsScreenDownCleanly) {
  TestDriver driver;
  auto [window, picker] = pickerOnScreen();
  driver.tap(*picker->bar->textField());
  driver.type(*window, "B", false);
  std::weak_ptr<Picker> gone = picker;
  picker.reset();
  // The window holds the last reference: the screen, whose search takes
  // its results table out of the view, goes with it.
  window.reset();
  EXPECT_TRUE(gone.expired());
}

}  // namespace
}  // namespace ui
