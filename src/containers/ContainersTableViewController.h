#pragma once

#include <memory>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "records/ContainerList.h"
#include "ui/BackgroundTask.h"
#include "ui/SearchBar.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// Every container of a world, a section per dimension, nearest to the
// player first, under a search field (name, kind, dimension, position). The world is walked on a worker thread, a line
// showing how far it is; the rows reach the screen on the main thread, and leaving the screen cancels the walk.
// "Open..." shows a container's slots in the inventory's grid (with its item editor and plus button) or, for a kind
// Gorvane does not know, its tag tree.
class ContainersTableViewController : public ui::ViewController,
                                      public ui::TableViewDataSource,
                                      public ui::TableViewDelegate {
 public:
  // player: the tree whose "Pos" and "DimensionId" say where "nearest" is
  // (null: from the world's origin).
  ContainersTableViewController(std::shared_ptr<TBKLevelDB> db, std::shared_ptr<TBKCompoundTag> player);
  ~ContainersTableViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfSectionsInTableView(ui::TableView&) override { return long(sections.size()); }
  long numberOfRowsInSection(ui::TableView&, long section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView& tableView, long section) override;
  double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return 46; }
  double heightForHeaderInSection(ui::TableView&, long) override { return 26; }
  bool shouldHighlightRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }

  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  // Whether the walk has ended and its rows are shown.
  bool listed() const { return listed_; }
  std::shared_ptr<ui::SearchBar> searchBar() const { return searchBar_; }
  // Shows only the containers `text` matches, as typing it in the field does.
  void search(const std::string& text);
  // Opens the container as "Open..." does.
  void open(const ContainerSummary& container);

  std::vector<ContainerList::Section> sections;

 private:
  void show(ContainerList::Listing listing);
  void arrange();

  std::shared_ptr<TBKLevelDB> db_;
  double playerX_ = 0, playerZ_ = 0;
  TBKChunkKey::Dimension playerDimension_ = TBKChunkKey::Dimension::Overworld;
  std::shared_ptr<ui::BackgroundTask> task_;
  bool listed_ = false;
  std::vector<ContainerSummary> containers_;
  std::string searchText_;
  std::shared_ptr<ui::SearchBar> searchBar_;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<BVLPanorama> background_;
  std::shared_ptr<BVLLabel> progressLabel_;
};
