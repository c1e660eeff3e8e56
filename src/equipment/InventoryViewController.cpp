#include "equipment/InventoryViewController.h"

#include <cmath>
#include <optional>

#include "app/RefusalAlert.h"
#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/ItemViewController.h"
#include "records/ItemGrid.h"
#include "records/ItemIdentity.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"

namespace {
const char* const cellIdentifier = "Cell";
}  // namespace

InventoryViewController::InventoryViewController(std::shared_ptr<EquipmentRecord> record, std::string key)
    : record_(std::move(record)), key_(std::move(key)) {
  collectionView_ = std::make_shared<ui::CollectionView>(ui::Screen::main().bounds(),
                                                         std::make_shared<ui::CollectionViewFlowLayout>());
}

InventoryViewController::InventoryViewController(std::shared_ptr<EquipmentRecord> record,
                                                 std::shared_ptr<TBKListTag> entries)
    : InventoryViewController(std::move(record), std::string()) {
  given_ = std::move(entries);
}

std::shared_ptr<TBKListTag> InventoryViewController::entries() const {
  return key_.empty() ? given_ : record_->player()->listForKey(key_);
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
  showRefusal(record_->addItem(given_, key_, capacity_));
  collectionView_->reloadData();
}

long InventoryViewController::numberOfItemsInSection(ui::CollectionView&, long) {
  auto inventory = entries();
  return inventory ? static_cast<long>(ItemGrid::cellCount(*inventory, capacity_)) : 0;
}

std::optional<size_t> InventoryViewController::entryPosition(size_t cell) const {
  auto inventory = entries();
  return inventory ? ItemGrid::entryPosition(*inventory, capacity_, cell) : std::nullopt;
}

std::shared_ptr<ui::CollectionViewCell> InventoryViewController::cellForItemAtIndexPath(
    ui::CollectionView& collectionView, const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<InventoryCollectionViewCell>(
      collectionView.dequeueReusableCell(cellIdentifier, indexPath));
  auto inventory = entries();
  auto position = entryPosition(static_cast<size_t>(indexPath.row));
  if (position) {
    cell->prepareWithItem(inventory->compoundAtIndex(ItemGrid::gridEntries(*inventory)[*position]));
  } else {
    // A container's free slot looks like an empty slot of today's inventory.
    static const auto freeSlot = ItemIdentity::named("", 0).makeEntry(-1, 0);
    cell->prepareWithItem(capacity_ > 0 ? freeSlot : nullptr);
  }
  size_t at = size_t(indexPath.row);
  cell->setCaption(at < captions_.size() ? captions_[at] : std::string());
  return cell;
}

void InventoryViewController::didSelectItemAtIndexPath(ui::CollectionView&, const ui::IndexPath& indexPath) {
  auto navigation = navigationController();
  if (!navigation) return;
  auto position = entryPosition(static_cast<size_t>(indexPath.row));
  if (!position) return;  // a container's free slot: the plus button fills it
  navigation->pushViewController(std::make_shared<ItemViewController>(record_, entries(), *position), true);
}

ui::Size InventoryViewController::sizeForItemAtIndexPath(ui::CollectionView&, ui::CollectionViewFlowLayout&,
                                                         const ui::IndexPath&) {
  return ui::Size{cellSide, cellSide};
}

double InventoryViewController::minimumLineSpacingForSectionAtIndex(ui::CollectionView&, ui::CollectionViewFlowLayout&,
                                                                    long) {
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
