#pragma once

#include <memory>
#include <string>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "ui/AlertView.h"
#include "ui/ImageView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

class ProgressAlert;

// Every world of the game, one row each, in a panel over the moving
// panorama. Nothing about the worlds is kept: every count, row and choice
// asks TBKLevelDB::worlds() again, so the list is as fresh as the folder.
// Choosing a row opens that world's level screen; after "Edit" on the
// navigation bar, it offers to copy or delete the world instead (a delete
// asks first, and keeps the world whole among the deleted ones). Below the
// worlds, a second section: "Import a World" (a .mcworld file, unpacked
// with its progress shown, then listed and opened) and "Deleted Worlds"
// (the backups screen of the worlds deleted, from where one comes back).
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

  long numberOfSectionsInTableView(ui::TableView&) override { return 2; }
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

  // Unpacks the archive into a new world with its progress shown, then
  // lists and opens it; a refused archive is explained and nothing is
  // listed. The import of `gorvane FILE.mcworld` and of the Import row.
  void importArchive(const std::string& path);
  // Opens the world in minecraftWorlds/<folderName> as choosing its row
  // does (gorvane WORLD-FOLDER); one that cannot be opened is explained.
  void openWorld(const std::string& folderName);
  // Whether a world row offers to copy or delete rather than open.
  bool isEditing() const { return editing_; }
  void setEditing(bool editing);
  // The rows of the second section.
  enum class Action : long { Import, DeletedWorlds };

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
  void offerChanges(const std::string& folderName);
  // "Copy" or "Delete" chosen for the world asked about.
  void answerChange(const std::string& answer);
  void deleteWorld();
  void copyWorld(const std::string& folderName, const std::string& levelName);

  // What the alert shown now asks, and about which world.
  enum class Question { None, Restore, Change, Delete } question_ = Question::None;
  std::string questionWorld_;
  std::string questionName_;
  bool editing_ = false;
  // The import or copy under way, if any; cancelled when the screen goes.
  std::shared_ptr<ProgressAlert> working_;

  // The world and backup a shown "Restore" alert is about.
  std::shared_ptr<TBKLevelDB> damagedWorld_;
  TBKBackup offeredBackup_;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<BVLPanorama> background_;
};
