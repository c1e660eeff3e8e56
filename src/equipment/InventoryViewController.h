#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "external/Tarnbook.h"
#include "records/EquipmentRecord.h"
#include "ui/BarButtonItem.h"
#include "ui/CollectionView.h"
#include "ui/ViewController.h"

// A list of item entries inside a player record (the inventory, a box's
// contents) as a grid of slots under the navigation bar (see ItemGrid), with
// a plus button that adds an item.
//
// The record is the level screen's, which stays beneath on the navigation
// stack; this screen and the item editor edit its one tree in place and save
// all of it after every change. They are held strongly: neither refers back
// to a screen.
class InventoryViewController : public ui::ViewController,
                                public ui::CollectionViewDataSource,
                                public ui::CollectionViewDelegateFlowLayout {
 public:
  static constexpr double cellSide = 52;

  // The player tree's own list `key`, looked up afresh on every use; the
  // first add makes it when the tree has none.
  InventoryViewController(std::shared_ptr<EquipmentRecord> record, std::string key = "Inventory");
  // Any list of entries inside the record's tree.
  InventoryViewController(std::shared_ptr<EquipmentRecord> record, std::shared_ptr<TBKListTag> entries);

  // A container's number of slots: the grid shows each, by its number, and
  // since the game keeps only the filled ones, add appends an entry in the
  // lowest free slot. 0, for the inventory: the list's length is the game's.
  void setCapacity(size_t slots) { capacity_ = slots; }
  // What each slot is for, from the first on (a furnace's "Input", "Fuel"
  // and "Result"), shown along the slot's foot.
  void setSlotCaptions(std::vector<std::string> captions) { captions_ = std::move(captions); }

  // The list shown; null while the player has none of its name.
  std::shared_ptr<TBKListTag> entries() const;
  const std::shared_ptr<EquipmentRecord>& record() const { return record_; }

  // Adds an item (see EquipmentRecord::addItem) and shows the grid as
  // stored; a refusal is explained.
  void add();

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  std::shared_ptr<ui::CollectionView> collectionView() const { return collectionView_; }
  std::shared_ptr<ui::BarButtonItem> plusButton() const { return plusButton_; }

  long numberOfItemsInSection(ui::CollectionView& collectionView, long section) override;
  std::shared_ptr<ui::CollectionViewCell> cellForItemAtIndexPath(ui::CollectionView& collectionView,
                                                                 const ui::IndexPath& indexPath) override;
  void didSelectItemAtIndexPath(ui::CollectionView& collectionView, const ui::IndexPath& indexPath) override;
  ui::Size sizeForItemAtIndexPath(ui::CollectionView&, ui::CollectionViewFlowLayout&, const ui::IndexPath&) override;
  double minimumLineSpacingForSectionAtIndex(ui::CollectionView&, ui::CollectionViewFlowLayout&, long) override;
  double minimumInteritemSpacingForSectionAtIndex(ui::CollectionView&, ui::CollectionViewFlowLayout&, long) override;
  ui::EdgeInsets insetForSectionAtIndex(ui::CollectionView&, ui::CollectionViewFlowLayout&, long) override;
  ui::Size referenceSizeForHeaderInSection(ui::CollectionView&, ui::CollectionViewFlowLayout&, long) override;
  ui::Size referenceSizeForFooterInSection(ui::CollectionView&, ui::CollectionViewFlowLayout&, long) override;

 private:
  // The position in gridEntries that grid cell `cell` shows; none for a
  // container's free slot or past the end.
  std::optional<size_t> entryPosition(size_t cell) const;

  std::shared_ptr<EquipmentRecord> record_;
  std::string key_;  // empty when the list was given
  std::shared_ptr<TBKListTag> given_;
  size_t capacity_ = 0;
  std::vector<std::string> captions_;
  std::shared_ptr<ui::BarButtonItem> plusButton_;
  std::shared_ptr<ui::CollectionView> collectionView_;
};
