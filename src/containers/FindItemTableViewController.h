#pragma once

#include <memory>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "records/ItemFinder.h"
#include "ui/BackgroundTask.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// Every place one item lies in a world: players' lists, containers (boxes
// inside included), creatures and items on the ground. The world is walked
// on a worker thread with a progress line; leaving the screen cancels it.
// Each row says where and how many, and "Open..." shows that place with the
// item's own slot open in the item editor.
class FindItemTableViewController : public ui::ViewController,
                                    public ui::TableViewDataSource,
                                    public ui::TableViewDelegate {
 public:
  // localPlayer: the level screen's tree of `localKey`, so a change made
  // here and one made there edit the same tree (null: read afresh).
  FindItemTableViewController(std::shared_ptr<TBKLevelDB> db, ItemIdentity item,
                              std::shared_ptr<TBKCompoundTag> localPlayer, std::string localKey);
  ~FindItemTableViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfRowsInSection(ui::TableView&, long) override { return long(places.size()); }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return 46; }
  bool shouldHighlightRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }

  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  // Whether the walk has ended and its rows are shown.
  bool listed() const { return listed_; }
  // Opens the place as "Open..." does.
  void open(const ItemFinder::Found& place);

  std::vector<ItemFinder::Found> places;

 private:
  void show(std::vector<ItemFinder::Found> found);
  std::shared_ptr<ui::Image> pictureOf(const ItemFinder::Found& place) const;

  std::shared_ptr<TBKLevelDB> db_;
  ItemIdentity item_;
  std::shared_ptr<TBKCompoundTag> localPlayer_;
  std::string localKey_;
  std::shared_ptr<ui::BackgroundTask> task_;
  bool listed_ = false;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<BVLPanorama> background_;
  std::shared_ptr<BVLLabel> progressLabel_;
};
