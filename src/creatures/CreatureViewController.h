#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "external/Bevel.h"
#include "level/LevelTableViewCell.h"
#include "records/CreatureRecord.h"
#include "ui/AlertView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// One creature: its name (empty removes it), health, whether it stays,
// a row for each list of items it holds (opened in the inventory grid and
// item editor), "Bring to the player", its whole tag tree, and "Remove",
// which asks first. Rows are those of the level screen; each change goes
// through the creature's record, and a refusal is explained.
class CreatureViewController : public ui::ViewController,
                               public ui::TableViewDataSource,
                               public ui::TableViewDelegate,
                               public ui::AlertViewDelegate {
 public:
  explicit CreatureViewController(std::shared_ptr<CreatureRecord> record);

  // Told once the creature is removed, before the screen goes back.
  std::function<void(const std::shared_ptr<TBKEntity>&)> onRemoved;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfSectionsInTableView(ui::TableView&) override { return long(sections_.size()); }
  long numberOfRowsInSection(ui::TableView&, long section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView& tableView, long section) override;
  double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return 46; }
  double heightForHeaderInSection(ui::TableView&, long) override { return 26; }
  bool shouldHighlightRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }
  // The removal's confirmation: button 1 removes.
  void clickedButtonAtIndex(ui::AlertView& alert, long buttonIndex) override;

  const std::shared_ptr<CreatureRecord>& record() const { return record_; }
  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }

 private:
  struct Row {
    LevelSettingDefinition definition;
    std::function<LevelRowBinding()> bind;
  };
  struct Section {
    std::string title;
    std::vector<Row> rows;
  };
  void buildRows();
  void written(const Outcome& outcome);
  void openItems(const CreatureRecord::ItemList& list);
  void bringHome();

  std::shared_ptr<CreatureRecord> record_;
  std::vector<Section> sections_;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<BVLPanorama> background_;
};
