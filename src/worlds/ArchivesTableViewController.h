#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "ui/ImageView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// The world archives (.mcworld files) in the user's documents and
// downloads, one row each with the folder it is in, listed as the user
// could list them (TBKWorldArchive::archivesIn), in a panel over the moving
// panorama like the world list. Choosing one hands its path to `chosen`;
// the screen that opened this one takes it from there. Listed afresh on
// every showing.
class ArchivesTableViewController : public ui::ViewController,
                                    public ui::TableViewDataSource,
                                    public ui::TableViewDelegate {
 public:
  explicit ArchivesTableViewController(std::function<void(const std::string& path)> chosen);

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfSectionsInTableView(ui::TableView&) override { return 1; }
  long numberOfRowsInSection(ui::TableView&, long) override { return long(archives_.size()); }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return 60; }
  void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;

  struct Archive {
    std::string name;    // the file's name
    std::string folder;  // the folder it is in
  };
  // As listed at the last showing.
  const std::vector<Archive>& archives() const { return archives_; }
  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  // Says where was looked, over an empty list.
  std::shared_ptr<BVLLabel> emptyLabel;

 private:
  void layOut();

  std::function<void(const std::string&)> chosen_;
  std::vector<Archive> archives_;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<ui::ImageView> tableViewBackground_;
  std::shared_ptr<BVLPanorama> background_;
};
