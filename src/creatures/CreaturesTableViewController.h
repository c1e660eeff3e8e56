#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "records/CreatureList.h"
#include "ui/AlertView.h"
#include "ui/BackgroundTask.h"
#include "ui/SearchBar.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// Every creature and thing of a world: a search field over names and kinds,
// then a section per dimension, the player's first, with each kind's heading
// and count and its members nearest to the player first (CreatureList). A
// creature opens its own screen. A last section clears the world of its
// dropped items or its experience orbs, saying how many before it asks.
//
// The world is listed by a background task the first time the screen shows,
// with its progress on screen; leaving the screen cancels the listing. The
// result reaches the screen on the main thread. What could not be read is
// told once the listing is done.
class CreaturesTableViewController : public ui::ViewController,
                                     public ui::TableViewDataSource,
                                     public ui::TableViewDelegate,
                                     public ui::AlertViewDelegate {
 public:
  explicit CreaturesTableViewController(std::shared_ptr<TBKLevelDB> db);
  ~CreaturesTableViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfSectionsInTableView(ui::TableView&) override;
  long numberOfRowsInSection(ui::TableView& tableView, long section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView& tableView, long section) override;
  double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
  double heightForHeaderInSection(ui::TableView&, long) override { return 26; }
  void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
  // The clear-out's confirmation: button 1 removes.
  void clickedButtonAtIndex(ui::AlertView& alert, long buttonIndex) override;

  // Whether the worker is still listing.
  bool isListing() const { return listing_; }
  // The sections shown, as arranged at the last change.
  const std::vector<CreatureList::Section>& sections() const { return sections_; }
  // Shows only what matches `text` (see CreatureList::arrange).
  void search(const std::string& text);

  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  std::shared_ptr<ui::SearchBar> searchBar() const { return searchBar_; }
  // "Listing the creatures... 40%" while listing; hidden after.
  std::shared_ptr<BVLLabel> progressLabel;

  // The titles of the clear-out rows.
  static constexpr const char* clearItemsTitle = "Remove every dropped item";
  static constexpr const char* clearOrbsTitle = "Remove every experience orb";

 private:
  void layOut();
  void startListing();
  void arrange();
  // A creature's screen removed it, or a clear-out did.
  void forget(const std::vector<std::shared_ptr<TBKEntity>>& gone);

  std::shared_ptr<TBKLevelDB> db_;
  std::vector<std::shared_ptr<TBKEntity>> entities_;
  std::vector<CreatureList::Section> sections_;
  std::string searchText_;
  std::array<double, 3> playerPosition_{0, 0, 0};
  TBKChunkKey::Dimension playerDimension_ = TBKChunkKey::Dimension::Overworld;
  // The identifier the shown confirmation would clear.
  std::string clearing_;
  bool listed_ = false;
  bool listing_ = false;
  std::shared_ptr<ui::BackgroundTask> task_;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<ui::SearchBar> searchBar_;
  std::shared_ptr<BVLPanorama> background_;
};
