#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "ui/ImageView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// A list to choose one thing from, in a panel over the moving panorama
// like the world list: the world archives in the user's documents and
// downloads (forArchives), the users' data folders of another device
// (forDataFolders), a world's saved structures (the level screen's). Each row shows a title and a line below it. The
// rows are listed afresh on every showing; choosing one hands it to `chosen`, and the screen that opened this one takes
// it from there.
class ChoiceTableViewController : public ui::ViewController,
                                  public ui::TableViewDataSource,
                                  public ui::TableViewDelegate {
 public:
  struct Choice {
    std::string title;
    std::string detail;
    std::string value;  // what is handed on: a path
  };

  ChoiceTableViewController(std::string title, std::function<std::vector<Choice>()> list, std::string whenEmpty,
                            std::function<void(const Choice&)> chosen);
  // The .mcworld files (any case) directly in the user's documents and
  // downloads, as the user could list them; a folder that cannot be listed
  // is explained. The value is the file's path.
  static std::shared_ptr<ChoiceTableViewController> forArchives(std::function<void(const Choice&)> chosen);
  // The same for .mcstructure files.
  static std::shared_ptr<ChoiceTableViewController> forStructureFiles(std::function<void(const Choice&)> chosen);
  // The data folders found on the command line, by whose they are; the
  // value is the folder.
  static std::shared_ptr<ChoiceTableViewController> forDataFolders(std::vector<TBKDataFolder> folders,
                                                                   std::function<void(const Choice&)> chosen);

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfSectionsInTableView(ui::TableView&) override { return 1; }
  long numberOfRowsInSection(ui::TableView&, long) override { return long(choices_.size()); }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return 60; }
  void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;

  // As listed at the last showing.
  const std::vector<Choice>& choices() const { return choices_; }
  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  // `whenEmpty`, shown over an empty list.
  std::shared_ptr<BVLLabel> emptyLabel;

 private:
  void layOut();
  // The files `namesIn` finds in the user's documents and downloads.
  static std::shared_ptr<ChoiceTableViewController> forUsersFiles(
      const std::string& title, std::function<std::vector<std::string>(const std::string&)> namesIn,
      const std::string& whenEmpty, std::function<void(const Choice&)> chosen);

  std::function<std::vector<Choice>()> list_;
  std::function<void(const Choice&)> chosen_;
  std::vector<Choice> choices_;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<ui::ImageView> tableViewBackground_;
  std::shared_ptr<BVLPanorama> background_;
};
