#pragma once

#include <memory>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "records/EquipmentRecord.h"
#include "ui/BarButtonItem.h"
#include "ui/ScrollView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// A named item's enchantments, one row each: its title and level as the game
// writes them ("Sharpness V"), a field for the level (1 to 255; above the
// game's highest level the row says so) and a button that removes it. The
// plus button offers the rest in a list. Every change is stored into the
// item's "ench" and the whole record saved, as the item editor does.
class EnchantmentsViewController : public ui::ViewController {
 public:
  EnchantmentsViewController(std::shared_ptr<EquipmentRecord> record, std::shared_ptr<TBKCompoundTag> item);

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  // What a row says: "Sharpness V", with " (above IV)" past the game's
  // highest level; an id the table does not know shows as its number.
  static std::string rowText(int id, int level);

  // Rebuilds the rows from the item.
  void reloadData();
  // The rows, top to bottom.
  std::vector<std::shared_ptr<BVLLabel>> labels;
  std::vector<std::shared_ptr<BVLTextField>> levelFields;
  std::vector<std::shared_ptr<BVLButton>> removeButtons;
  std::shared_ptr<ui::BarButtonItem> plusButton() const { return plusButton_; }

 private:
  void change(const std::function<bool(TBKCompoundTag&)>& edit);

  std::shared_ptr<EquipmentRecord> record_;
  std::shared_ptr<TBKCompoundTag> item_;
  std::shared_ptr<ui::ScrollView> scroll_;
  std::shared_ptr<ui::BarButtonItem> plusButton_;
};

// The enchantments to add to an item: first those that apply to it, then the
// rest; one that an enchantment already on the item excludes says by which.
// Choosing one hands its id to the callback, once, and closes the list.
class EnchantmentPickerViewController : public ui::ViewController,
                                        public ui::TableViewDataSource,
                                        public ui::TableViewDelegate {
 public:
  struct Choice {
    const BVLEnchantment* enchantment;
    std::string text;
  };
  EnchantmentPickerViewController(const TBKCompoundTag& item, std::function<void(const BVLEnchantment&)> chosen);

  const std::vector<Choice>& choices() const { return choices_; }
  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }

  void loadView() override;
  void viewDidLoad() override;
  bool prefersStatusBarHidden() const override { return false; }
  long numberOfRowsInSection(ui::TableView& tableView, long section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;

 private:
  std::vector<Choice> choices_;
  std::function<void(const BVLEnchantment&)> chosen_;
  std::shared_ptr<ui::TableView> tableView_;
  bool done_ = false;
};
