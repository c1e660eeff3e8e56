#pragma once

#include <memory>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "level/LevelTableViewCell.h"
#include "records/LevelRecord.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

class ProgressAlert;

// One world's level settings (name, game type, spawn point) and the ways to
// its player's armor and inventory, as a table driven by its definition
// table. Each row is bound to the world's LevelRecord, which writes; a
// refusal is explained and the rows show what is stored. The buttons' screens
// are opened from here.
class LevelTableViewController : public ui::ViewController,
                                 public ui::TableViewDataSource,
                                 public ui::TableViewDelegate {
 public:
  // Reads the level tree and the player tree. Raises the library's
  // TBKException when the level cannot be read or the world cannot be
  // opened (the game holds it); a world without a usable player record
  // still opens, with `player` null.
  //
  explicit LevelTableViewController(std::shared_ptr<TBKLevelDB> db);
  // One player's rows alone (playerSettingRows), for the record under
  // `playerKey` (from the players screen: "~local_player" or
  // "player_server_<uuid>"). Raises when that record cannot be read.
  LevelTableViewController(std::shared_ptr<TBKLevelDB> db, std::string playerKey);
  ~LevelTableViewController() override;

  void viewDidLoad() override;
  // Reads the level tree afresh and prepares the rows again; the player
  // tree stays the one read at construction unless the world was restored
  // from a backup meanwhile.
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfSectionsInTableView(ui::TableView&) override { return long(sections.size()); }
  long numberOfRowsInSection(ui::TableView& tableView, long section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView& tableView, long section) override;
  double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return 46; }
  double heightForHeaderInSection(ui::TableView&, long) override { return 26; }
  bool shouldHighlightRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }

  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  void setTableView(std::shared_ptr<ui::TableView> tableView) { tableView_ = std::move(tableView); }
  // Null until the first appearance, which lays the screen out once.
  std::shared_ptr<BVLPanorama> background() const { return background_; }
  void setBackground(std::shared_ptr<BVLPanorama> background) { background_ = std::move(background); }

  // The definition table: the sections in order, each with its rows. Made
  // at construction from what the world holds, never changed.
  std::vector<LevelSection> sections;
  const std::shared_ptr<TBKLevelDB> _db;
  // The record `player` was read from.
  const std::string playerKey;
  std::shared_ptr<TBKCompoundTag> level;
  // Null for a world never played (no player record) or one whose record
  // is damaged.
  std::shared_ptr<TBKCompoundTag> player;

 private:
  // The whole level screen (local) or one player's rows.
  LevelTableViewController(std::shared_ptr<TBKLevelDB> db, std::string playerKey, bool local);
  void layOut();
  LevelRowBinding bindingFor(const LevelSettingDefinition& definition);
  // Explains a refusal, then shows the rows as stored once the widget that
  // reported has returned.
  void written(const Outcome& outcome, bool reloadAnyway);
  void open(LevelRowKind kind);
  // The item picker whose choice opens the places that item lies.
  std::shared_ptr<ui::ViewController> itemPicker();
  // The player tree, or null once an alert has said why there is none.
  std::shared_ptr<TBKCompoundTag> playerOrExplain();
  // Writes the world as a .mcworld archive into the folder given on the
  // command line or the user's documents, with its progress shown; the
  // file's name is shown after, or why it was not written.
  void exportWorld();
  // The world's saved structures, after a row to import one from a file;
  // choosing one writes it as a .mcstructure file beside an exported world,
  // never over a file that is there.
  std::shared_ptr<ui::ViewController> structuresScreen();

  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<BVLPanorama> background_;
  // The export under way, if any; cancelled when the screen goes.
  std::shared_ptr<ProgressAlert> exporting_;
};
