#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "records/BackupShelf.h"
#include "ui/AlertView.h"
#include "ui/ImageView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// The backups Gorvane kept of one world or of the options file, newest
// first, in a panel over the moving panorama like the world list. Choosing
// a whole backup asks "Restore the world as it was at <local time>?";
// confirmed, it is restored and the screen goes back to the one that opened
// it, which shows the restored values when it appears. A damaged backup
// explains itself instead; a refused restore is explained and changes
// nothing. The list is read afresh on every showing.
class BackupsTableViewController : public ui::ViewController,
                                   public ui::TableViewDataSource,
                                   public ui::TableViewDelegate,
                                   public ui::AlertViewDelegate {
 public:
  explicit BackupsTableViewController(BackupShelf shelf);
  static std::shared_ptr<BackupsTableViewController> forWorld(std::shared_ptr<TBKLevelDB> db);
  static std::shared_ptr<BackupsTableViewController> forOptions();
  static std::shared_ptr<BackupsTableViewController> forDeletedWorlds();

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfSectionsInTableView(ui::TableView&) override { return 1; }
  long numberOfRowsInSection(ui::TableView&, long) override { return long(backups_.size()); }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return 60; }
  void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
  // The confirmation's answer: button 1 restores.
  void clickedButtonAtIndex(ui::AlertView& alert, long buttonIndex) override;

  // As listed at the last showing.
  const std::vector<TBKBackup>& backups() const { return backups_; }
  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  // "No backups yet ...", shown over an empty list.
  std::shared_ptr<BVLLabel> emptyLabel;
  std::shared_ptr<ui::ImageView> tableViewBackground;

 private:
  void layOut();

  BackupShelf shelf_;
  std::vector<TBKBackup> backups_;
  TBKBackup chosen_;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<BVLPanorama> background_;
};
