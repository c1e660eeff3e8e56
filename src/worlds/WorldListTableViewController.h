#pragma once

#include <memory>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "ui/AlertView.h"
#include "ui/ImageView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// Every world of the game, one row each, in a panel over the moving
// panorama. Nothing about the worlds is kept: every count, row and choice
// asks TBKLevelDB::worlds() again, so the list is as fresh as the folder.
// Choosing a row opens that world's level screen.
class WorldListTableViewController : public ui::ViewController,
                                     public ui::TableViewDataSource,
                                     public ui::TableViewDelegate,
                                     public ui::AlertViewDelegate {
 public:
  WorldListTableViewController();
  ~WorldListTableViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfSectionsInTableView(ui::TableView&) override { return 1; }
  long numberOfRowsInSection(ui::TableView& tableView, long section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return 60; }
  // Opens the world and pushes its level screen; a world that cannot be
  // opened (damaged, held by the game, gone) is explained in an alert
  // instead and the list stays. When its level data cannot be read and a
  // whole backup of it exists, the alert offers to restore the newest one
  // ("Restore", button 1), after which the world opens.
  void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
  void clickedButtonAtIndex(ui::AlertView& alert, long buttonIndex) override;

  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  void setTableView(std::shared_ptr<ui::TableView> tableView) { tableView_ = std::move(tableView); }
  // Null until the first appearance, which lays the screen out once.
  std::shared_ptr<BVLPanorama> background() const { return background_; }
  void setBackground(std::shared_ptr<BVLPanorama> background) { background_ = std::move(background); }

  // The panel behind the table, reaching 6 points beyond it on every side.
  std::shared_ptr<ui::ImageView> tableViewBackground;

 private:
  void layOut();
  bool offerRestore(const std::shared_ptr<TBKLevelDB>& db, const std::string& reason);
  void open(const std::shared_ptr<TBKLevelDB>& db);

  // The world and backup a shown "Restore" alert is about.
  std::shared_ptr<TBKLevelDB> damagedWorld_;
  TBKBackup offeredBackup_;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<BVLPanorama> background_;
};
