#include "equipment/InventoryViewController.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "equipment/InventoryCollectionViewCell.h"
#include "equipment/ItemViewController.h"
#include "records/ItemIdentity.h"
#include "ui/AlertView.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"

namespace {

constexpr size_t hiddenEntries = 9;  // the hotbar links at the head of the list
constexpr size_t slotNumbers = 256;  // "Slot" is a byte
const char* const cellIdentifier = "Cell";
// What the plus button puts into an empty slot of today's inventory: the
// early game's item 1.
const char* const addedName = "minecraft:stone";

uint8_t slotOf(const TBKListTag& inventory, size_t index) {
  auto entry = inventory.compoundAtIndex(index);
  return entry ? entry->numberForKey("Slot").unsignedCharValue() : 0;
}

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
  const auto& player = record_->player();
  auto inventory = entries();
  if (!inventory) {
    // A tree without the list gets one; a child of that name of another
    // type is not ours to replace.
    if (key_.empty() || player->objectForKeyedSubscript(key_)) return;
    if (ItemIdentity::namesItems(*player)) return addNamed(nullptr);
    inventory = std::make_shared<TBKListTag>(key_, TBKTagType::Compound);
    player->setValueForKey(inventory);
  }
  size_t n = inventory->count();
  if (n > 0 && inventory->elementType() != TBKTagType::Compound) return;
  // The list's own kind; an empty list takes the kind of the armor.
  if (n > 0 ? ItemIdentity::holdsNamed(*inventory) : capacity_ > 0 || ItemIdentity::namesItems(*player)) {
    return addNamed(inventory);
  }
  if (n >= slotNumbers) return;
  inventory->setObjectAtIndexedSubscript(ItemIdentity::numbered(1, 0).makeEntry(static_cast<int>(n), 1), n);
  record_->save();
  collectionView_->reloadData();
}

void InventoryViewController::addNamed(const std::shared_ptr<TBKListTag>& inventory) {
  std::shared_ptr<TBKCompoundTag> empty;
  if (inventory) {
    for (size_t index : gridEntries(*inventory)) {
      auto entry = inventory->compoundAtIndex(index);
      if (entry && ItemIdentity::of(*entry).isEmptySlot()) {
        empty = entry;
        break;
      }
    }
  }
  if (!empty && inventory && inventory->count() < capacity_) {
    std::vector<bool> used(capacity_, false);
    for (size_t i = 0; i < inventory->count(); ++i) {
      if (size_t slot = slotOf(*inventory, i); slot < capacity_) used[slot] = true;
    }
    int slot = static_cast<int>(std::find(used.begin(), used.end(), false) - used.begin());
    inventory->setObjectAtIndexedSubscript(ItemIdentity::named(addedName, 0).makeEntry(slot, 1), inventory->count());
    record_->save();
    collectionView_->reloadData();
    return;
  }
  if (!empty) {
    std::make_shared<ui::AlertView>("Inventory Full", "There is no empty slot to put a new item in.", nullptr, "Okay",
                                    std::vector<std::string>{})
        ->show();
    return;
  }
  ItemIdentity::named(addedName, 0).writeTo(*empty);
  empty->setValueForKey(TBKNumberTag::byteTag("Count", 1));
  record_->save();
  collectionView_->reloadData();
}

std::vector<size_t> InventoryViewController::gridEntries(const TBKListTag& inventory) {
  size_t count = inventory.count();
  if (slotOffset(inventory) != 0) {
    std::vector<size_t> shown;
    for (size_t index = hiddenEntries; index < count; ++index) shown.push_back(index);
    return shown;
  }
  std::vector<size_t> shown(count);
  std::iota(shown.begin(), shown.end(), size_t{0});
  // The game writes the slots in order; a list that is not keeps its own
  // order among equal slot numbers.
  std::stable_sort(shown.begin(), shown.end(),
                   [&](size_t a, size_t b) { return slotOf(inventory, a) < slotOf(inventory, b); });
  return shown;
}

// Only the early inventory links the hotbar at its head.
int InventoryViewController::slotOffset(const TBKListTag& entries) {
  return entries.name() != "Inventory" || ItemIdentity::holdsNamed(entries) ? 0 : static_cast<int>(hiddenEntries);
}

long InventoryViewController::numberOfItemsInSection(ui::CollectionView&, long) {
  auto inventory = entries();
  if (!inventory) return 0;
  size_t cells = gridEntries(*inventory).size();
  if (capacity_ == 0) return static_cast<long>(cells);
  // Every slot of the container, and any entry numbered past them.
  cells = capacity_;
  for (size_t i = 0; i < inventory->count(); ++i) cells = std::max(cells, size_t{slotOf(*inventory, i)} + 1);
  return static_cast<long>(cells);
}

// A container's cell is its slot number; the rest show the entries in order.
std::optional<size_t> InventoryViewController::entryPosition(size_t cell) const {
  auto inventory = entries();
  if (!inventory) return std::nullopt;
  auto shown = gridEntries(*inventory);
  if (capacity_ == 0) return cell < shown.size() ? std::optional<size_t>(cell) : std::nullopt;
  for (size_t position = 0; position < shown.size(); ++position) {
    if (slotOf(*inventory, shown[position]) == cell) return position;
  }
  return std::nullopt;
}

std::shared_ptr<ui::CollectionViewCell> InventoryViewController::cellForItemAtIndexPath(
    ui::CollectionView& collectionView, const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<InventoryCollectionViewCell>(
      collectionView.dequeueReusableCell(cellIdentifier, indexPath));
  auto inventory = entries();
  auto position = entryPosition(static_cast<size_t>(indexPath.row));
  if (position) {
    cell->prepareWithItem(inventory->compoundAtIndex(gridEntries(*inventory)[*position]));
  } else {
    // A container's free slot looks like an empty slot of today's inventory.
    static const auto freeSlot = ItemIdentity::named("", 0).makeEntry(-1, 0);
    cell->prepareWithItem(capacity_ > 0 ? freeSlot : nullptr);
  }
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
