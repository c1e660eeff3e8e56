#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/SearchBar.h"
#include "ui/SearchDisplayController.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// Every item of the catalogue, sorted by name, with a search field that
// narrows the list to the names that begin with the typed text. Choosing a
// row hands that item to the callback, once, and closes the picker. It knows
// nothing of worlds or tags. Made with a Callback it lists the early game's
// numbered items and hands over id and damage; made with a NamedCallback it
// lists today's named items and hands over the name and its damage.
class ItemSelectorTableViewController : public ui::ViewController,
                                        public ui::TableViewDataSource,
                                        public ui::TableViewDelegate,
                                        public ui::SearchDisplayDelegate {
 public:
  using Callback = std::function<void(uint16_t id, uint16_t damage)>;
  using NamedCallback = std::function<void(const std::string& identifier, uint16_t damage)>;

  explicit ItemSelectorTableViewController(Callback callback);
  explicit ItemSelectorTableViewController(NamedCallback callback);

  Callback callback() const { return _callback; }
  void setCallback(Callback callback) { _callback = std::move(callback); }
  NamedCallback namedCallback() const { return namedCallback_; }

  // Rebuilds searchData: the items of allItems, in order, whose names begin
  // with `text` in any case; none for an empty text. The scope is ignored.
  void filterContentForSearchText(const std::string& text, const std::string& scope);

  const std::vector<std::string>& allItems() const { return allItems_; }
  const std::vector<std::string>& searchData() const { return searchData_; }
  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  // Null until the first appearance.
  std::shared_ptr<ui::SearchBar> searchBar() const { return searchBar_; }
  ui::SearchDisplayController* searchDisplayController() const { return searchDisplayController_.get(); }

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfRowsInSection(ui::TableView& tableView, long section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
  bool shouldReloadTableForSearchString(ui::SearchDisplayController&, const std::string& text) override;

 private:
  // Sorts `items` by name into allItems.
  void listItems(const std::vector<std::string>& items);
  const std::vector<std::string>& itemsOf(const ui::TableView& tableView) const;

  std::vector<std::string> allItems_;
  std::vector<std::string> searchData_;
  std::shared_ptr<ui::SearchBar> searchBar_;
  std::unique_ptr<ui::SearchDisplayController> searchDisplayController_;
  Callback _callback;
  NamedCallback namedCallback_;
  std::shared_ptr<ui::TableView> tableView_;
  // Set by the first choice: a second tap while the picker slides away must
  // neither call back again nor pop the screen beneath.
  bool chosen_ = false;
};
