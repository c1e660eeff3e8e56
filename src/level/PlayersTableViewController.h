#pragma once

#include <memory>
#include <vector>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// Every player of one world, in the look of the level screen: the local
// player first, then the others by a short form of their id with where they
// stand. "Edit..." opens the chosen player's rows (a LevelTableViewController
// with that player's key); a player whose record is missing says why.
class PlayersTableViewController : public ui::ViewController,
                                   public ui::TableViewDataSource,
                                   public ui::TableViewDelegate {
 public:
  explicit PlayersTableViewController(std::shared_ptr<TBKLevelDB> db);

  void viewDidLoad() override;
  // Lists the players afresh and prepares the rows again.
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfSectionsInTableView(ui::TableView&) override { return 1; }
  long numberOfRowsInSection(ui::TableView&, long) override { return long(players.size()); }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView& tableView, long section) override;
  double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return 46; }
  double heightForHeaderInSection(ui::TableView&, long) override { return 26; }
  bool shouldHighlightRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }

  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  std::shared_ptr<BVLPanorama> background() const { return background_; }

  const std::shared_ptr<TBKLevelDB> _db;
  std::vector<TBKPlayerEntry> players;

 private:
  void open(const TBKPlayerEntry& entry);

  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<BVLPanorama> background_;
};
