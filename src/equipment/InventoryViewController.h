#pragma once

#include <memory>
#include <vector>

#include "external/Tarnbook.h"
#include "ui/BarButtonItem.h"
#include "ui/CollectionView.h"
#include "ui/ViewController.h"

// The player's inventory as a grid of slots under the navigation bar, with a
// plus button that adds an item. In an early world grid position r shows list
// entry r + 9: the first nine entries link the hotbar and are never shown. In
// a world of today, whose items are named, the list is the 36 slots
// themselves, hotbar first, and the grid shows every entry in slot order.
//
// The database and the player tree are the level screen's, which stays
// beneath on the navigation stack; this screen and the item editor edit that
// one tree in place and hand all of it to the database after every change.
// They are held strongly: neither refers back to a screen.
class InventoryViewController : public ui::ViewController,
                                public ui::CollectionViewDataSource,
                                public ui::CollectionViewDelegateFlowLayout {
 public:
  static constexpr double cellSide = 52;

  InventoryViewController(const std::shared_ptr<TBKLevelDB>& db, const std::shared_ptr<TBKCompoundTag>& player);

  // Early worlds: appends an item (id 1, count 1) with the next slot number.
  // Does nothing once the list holds 256 entries, as a byte slot number
  // would then repeat one already in use. Named items: the list's length is
  // the game's, so the first empty slot in grid order gets a stone, count 1;
  // with no empty slot nothing changes and an alert says so. Either way a
  // change writes the player tree and reloads the grid.
  void add();

  // The list indices the grid shows, in grid order (see above).
  static std::vector<size_t> gridEntries(const TBKListTag& inventory);
  // What the editor subtracts from an entry's "Slot" to show it: 9 in an
  // early world, where it matches the grid position, 0 for named items.
  static int slotOffset(const TBKListTag& inventory);

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

  std::shared_ptr<TBKLevelDB> _db;
  std::shared_ptr<ui::BarButtonItem> plusButton_;
  std::shared_ptr<TBKCompoundTag> player;
  std::shared_ptr<ui::CollectionView> collectionView_;
};
