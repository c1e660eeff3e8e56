#include "equipment/InventoryViewController.h"

#include <cmath>

#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/ItemIdentity.h"
#include "equipment/ItemViewController.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"

namespace {

constexpr size_t hiddenEntries = 9;  // the hotbar links at the head of the list
constexpr size_t slotNumbers = 256;  // "Slot" is a byte
const char* const cellIdentifier = "Cell";

}  // namespace

InventoryViewController::InventoryViewController(const std::shared_ptr<TBKLevelDB>& db,
                                                 const std::shared_ptr<TBKCompoundTag>& player)
    : _db(db), player(player) {
  collectionView_ = std::make_shared<ui::CollectionView>(ui::Screen::main().bounds(),
                                                         std::make_shared<ui::CollectionViewFlowLayout>());
}

void InventoryViewController::loadView() { setView(collectionView_); }

void InventoryViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<InventoryViewController>(shared_from_this());
  collectionView_->registerClass<InventoryCollectionViewCell>(cellIdentifier);
  collectionView_->setDataSource(self);
  collectionView_->setDelegate(self);
  std::weak_ptr<InventoryViewController> weakSelf = self;
  plusButton_ = std::make_shared<ui::BarButtonItem>(ui::SystemItem::Add, [weakSelf] {
    if (auto screen = weakSelf.lock()) screen->add();
  });
  setRightBarButtonItem(plusButton_);
}

void InventoryViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  ui::Color grey = ui::Color::white(38.0 / 255.0, 1.0);
  view()->setBackgroundColor(grey);
  collectionView_->setBackgroundColor(grey);
  collectionView_->reloadData();
}

void InventoryViewController::add() {
  auto inventory = player->listForKey("Inventory");
  if (!inventory) {
    // A tree without the list gets one; a child of that name of another
    // type is not ours to replace.
    if (player->objectForKeyedSubscript("Inventory")) return;
    inventory = std::make_shared<TBKListTag>("Inventory", TBKTagType::Compound);
    player->setValueForKey(inventory);
  }
  size_t n = inventory->count();
  if (n >= slotNumbers) return;
  if (n > 0 && inventory->elementType() != TBKTagType::Compound) return;
  if (ItemIdentity::holdsNamed(*inventory)) return;
  inventory->setObjectAtIndexedSubscript(ItemIdentity::numbered(1, 0).makeEntry(static_cast<int>(n), 1), n);
  _db->setPlayer(player);
  collectionView_->reloadData();
}

long InventoryViewController::numberOfItemsInSection(ui::CollectionView&, long) {
  auto inventory = player->listForKey("Inventory");
  size_t count = inventory ? inventory->count() : 0;
  return count > hiddenEntries ? static_cast<long>(count - hiddenEntries) : 0;
}

std::shared_ptr<ui::CollectionViewCell> InventoryViewController::cellForItemAtIndexPath(
    ui::CollectionView& collectionView, const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<InventoryCollectionViewCell>(
      collectionView.dequeueReusableCell(cellIdentifier, indexPath));
  auto entry = player->listForKey("Inventory")->compoundAtIndex(static_cast<size_t>(indexPath.row) + hiddenEntries);
  cell->prepareWithItem(entry);
  return cell;
}

void InventoryViewController::didSelectItemAtIndexPath(ui::CollectionView&, const ui::IndexPath& indexPath) {
  auto navigation = navigationController();
  if (!navigation) return;
  navigation->pushViewController(
      std::make_shared<ItemViewController>(_db, static_cast<size_t>(indexPath.row), player), true);
}

ui::Size InventoryViewController::sizeForItemAtIndexPath(ui::CollectionView&, ui::CollectionViewFlowLayout&,
                                                         const ui::IndexPath&) {
  return ui::Size{cellSide, cellSide};
}

double InventoryViewController::minimumLineSpacingForSectionAtIndex(ui::CollectionView&,
                                                                    ui::CollectionViewFlowLayout&, long) {
  return 0;
}

double InventoryViewController::minimumInteritemSpacingForSectionAtIndex(ui::CollectionView&,
                                                                         ui::CollectionViewFlowLayout&, long) {
  return 0;
}

// The width left over after whole columns, split evenly, centres the columns.
ui::EdgeInsets InventoryViewController::insetForSectionAtIndex(ui::CollectionView&, ui::CollectionViewFlowLayout&,
                                                               long) {
  double margin = std::fmod(view()->frame().width(), cellSide) * 0.5;
  return ui::EdgeInsets{8, margin, 8, margin};
}

ui::Size InventoryViewController::referenceSizeForHeaderInSection(ui::CollectionView&, ui::CollectionViewFlowLayout&,
                                                                  long) {
  return ui::Size{};
}

ui::Size InventoryViewController::referenceSizeForFooterInSection(ui::CollectionView&, ui::CollectionViewFlowLayout&,
                                                                  long) {
  return ui::Size{};
}
