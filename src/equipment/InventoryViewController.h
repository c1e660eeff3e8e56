#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "external/Tarnbook.h"
#include "records/EquipmentRecord.h"
#include "ui/BarButtonItem.h"
#include "ui/CollectionView.h"
#include "ui/ViewController.h"

// A list of item entries inside a player record (the inventory, a box's
// contents) as a grid of slots under the navigation bar, with a plus button
// that adds an item. In an early world's inventory grid position r shows list
// entry r + 9: the first nine entries link the hotbar and are never shown. A
// list of named items (today's worlds) is the slots themselves, and the grid
// shows every entry in slot order.
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

  // The list shown; null while the player has none of its name.
  std::shared_ptr<TBKListTag> entries() const;
  const std::shared_ptr<EquipmentRecord>& record() const { return record_; }

  // Early worlds: appends an item (id 1, count 1) with the next slot number.
  // Does nothing once the list holds 256 entries, as a byte slot number
  // would then repeat one already in use. Named items: the list's length is
  // the game's, so the first empty slot in grid order gets a stone, count 1;
  // with no empty slot nothing changes and an alert says so. Either way a
  // change writes the player tree and reloads the grid.
  void add();

  // The list indices the grid shows, in grid order (see above).
  static std::vector<size_t> gridEntries(const TBKListTag& entries);
  // What the editor subtracts from an entry's "Slot" to show it: 9 in an
  // early world's inventory, where it matches the grid position, else 0.
  static int slotOffset(const TBKListTag& entries);

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
  void addNamed(const std::shared_ptr<TBKListTag>& inventory);
  // The position in gridEntries that grid cell `cell` shows; none for a
  // container's free slot or past the end.
  std::optional<size_t> entryPosition(size_t cell) const;

  std::shared_ptr<EquipmentRecord> record_;
  std::string key_;  // empty when the list was given
  std::shared_ptr<TBKListTag> given_;
  size_t capacity_ = 0;
  std::shared_ptr<ui::BarButtonItem> plusButton_;
  std::shared_ptr<ui::CollectionView> collectionView_;
};
