#pragma once

#include <memory>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "options/OptionRow.h"
#include "records/OptionsFile.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// A titled group of rows of the options screen.
struct OptionSection {
  std::string name;
  std::vector<OptionRow> rows;
};

// What the options screen shows, in order, and how its rows read and write
// the options file.
struct OptionsTable {
  OptionsFile::Edit edit = OptionsFile::Edit::Early;
  std::vector<OptionSection> sections;
};

// The game's options as a table of sections, one row a setting, each row a
// widget bound to one key of the options file, which this screen owns and
// its cells reach only through it. What the table shows is data, not code:
// the early game's table, or today's when the file is one of today's game.
// The menu makes this screen once and pushes it on every visit: the views are
// built on the first appearance, and on every one the table is chosen and
// the rows are read from the file again.
class OptionsTableViewController : public ui::ViewController,
                                   public ui::TableViewDataSource,
                                   public ui::TableViewDelegate {
 public:
  OptionsTableViewController();

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfSectionsInTableView(ui::TableView& tableView) override;
  long numberOfRowsInSection(ui::TableView& tableView, long section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView& tableView, long section) override;
  double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return 46; }
  double heightForHeaderInSection(ui::TableView&, long) override { return 26; }
  bool shouldHighlightRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }

  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  void setTableView(std::shared_ptr<ui::TableView> tableView) { tableView_ = std::move(tableView); }
  // Null until the first appearance.
  std::shared_ptr<BVLPanorama> background() const { return background_; }
  void setBackground(std::shared_ptr<BVLPanorama> background) { background_ = std::move(background); }

  // The table shown (the early game's until the first appearance).
  const OptionsTable& table() const { return *table_; }

  static const OptionsTable& earlyTable();
  static const OptionsTable& todaysTable();

 private:
  void buildBackground();
  void addBackupsRow(double width);

  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<BVLPanorama> background_;
  OptionsFile file_;
  const OptionsTable* table_ = &earlyTable();
};
