#pragma once

#include <memory>
#include <string>

namespace ui {

class SearchBar;
class SearchDisplayController;
class TableView;
class TableViewDataSource;
class TableViewDelegate;
class View;
class ViewController;

// Decides whether a new search string refreshes the results. Held weakly.
class SearchDisplayDelegate {
 public:
  virtual ~SearchDisplayDelegate() = default;
  // Usually filters the results for the string and answers true.
  virtual bool shouldReloadTableForSearchString(SearchDisplayController&, const std::string&) { return true; }
};

// Runs a search over a contents screen: while the user searches, the area of
// the contents screen below the search bar is covered, by a dimming layer
// while the search text is empty and by the results table once it is not.
// Tapping the dimming layer or the bar's Cancel button ends the search,
// clears the text and uncovers the contents. The contents screen's own view
// does not scroll while a search is on.
//
// Ownership: the owner (usually the contents screen) holds this controller;
// it holds the search bar and the results table; the contents screen, the
// delegate and the results' data source and delegate are held weakly.
class SearchDisplayController {
 public:
  SearchDisplayController(std::shared_ptr<SearchBar> searchBar,
                          const std::shared_ptr<ViewController>& contentsController);
  ~SearchDisplayController();
  SearchDisplayController(const SearchDisplayController&) = delete;
  SearchDisplayController& operator=(const SearchDisplayController&) = delete;

  std::shared_ptr<SearchBar> searchBar() const { return searchBar_; }
  std::shared_ptr<ViewController> searchContentsController() const { return contents_.lock(); }
  // A plain table; register its cell classes as for any table.
  std::shared_ptr<TableView> searchResultsTableView() const { return results_; }
  void setSearchResultsDataSource(const std::shared_ptr<TableViewDataSource>& dataSource);
  void setSearchResultsDelegate(const std::shared_ptr<TableViewDelegate>& delegate);
  std::shared_ptr<SearchDisplayDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(const std::shared_ptr<SearchDisplayDelegate>& delegate) { delegate_ = delegate; }

  bool isActive() const { return active_; }
  // Starting focuses the bar; ending clears it and takes the cover away.
  void setActive(bool active, bool animated);

 private:
  friend class SearchBar;
  void searchTextChanged(const std::string& text);
  void updateCover();

  std::shared_ptr<SearchBar> searchBar_;
  std::weak_ptr<ViewController> contents_;
  std::weak_ptr<SearchDisplayDelegate> delegate_;
  std::shared_ptr<TableView> results_;
  std::shared_ptr<View> dimming_;
  bool active_ = false;
  bool contentsScrolled_ = true;  // whether the contents view scrolled before the search
};

}  // namespace ui
