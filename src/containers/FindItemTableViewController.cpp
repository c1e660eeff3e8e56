#include "containers/FindItemTableViewController.h"

#include "Tarnbook/TBKEntities.h"
#include "app/RefusalAlert.h"
#include "app/TableScreenBackground.h"
#include "containers/ContainerTableViewCell.h"
#include "creatures/CreatureViewController.h"
#include "equipment/ArmorViewController.h"
#include "equipment/InventoryViewController.h"
#include "equipment/ItemViewController.h"
#include "records/ContainerRecord.h"
#include "records/CreatureItemSource.h"
#include "records/CreatureKind.h"
#include "records/CreatureRecord.h"
#include "records/ItemGrid.h"
#include "records/ItemTag.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"

namespace {

constexpr size_t boxSlots = 27;

// Pushes the grid, then opens `cell` as a tap on it would.
void openGridAt(ui::NavigationController& navigation, const std::shared_ptr<InventoryViewController>& grid,
                size_t cell) {
  navigation.pushViewController(grid, false);
  grid->view();
  grid->didSelectItemAtIndexPath(*grid->collectionView(), ui::IndexPath{0, long(cell)});
}

// The grid of `entries` at `slot`, or inside the box there at `boxSlot`.
void openEntries(ui::NavigationController& navigation, const std::shared_ptr<EquipmentRecord>& record,
                 const std::shared_ptr<TBKListTag>& entries, size_t capacity, const std::string& title,
                 const ItemFinder::Found& place, std::vector<std::string> captions = {}) {
  auto grid = std::make_shared<InventoryViewController>(record, entries);
  grid->setCapacity(capacity);
  grid->setSlotCaptions(std::move(captions));
  grid->setTitle(title);
  if (!place.boxSlot) return openGridAt(navigation, grid, place.slot);
  navigation.pushViewController(grid, false);
  auto position = ItemGrid::entryPosition(*entries, capacity, place.slot);
  auto box = position ? entries->compoundAtIndex(ItemGrid::gridEntries(*entries).at(*position)) : nullptr;
  if (!box) return;
  auto inner = std::make_shared<InventoryViewController>(record, itemtag::madeItems(*box));
  inner->setCapacity(boxSlots);
  inner->setTitle(itemtag::customName(*box).empty() ? "Box" : itemtag::customName(*box));
  openGridAt(navigation, inner, *place.boxSlot);
}

}  // namespace

FindItemTableViewController::FindItemTableViewController(std::shared_ptr<TBKLevelDB> db, ItemIdentity item,
                                                         std::shared_ptr<TBKCompoundTag> localPlayer,
                                                         std::string localKey)
    : db_(std::move(db)), item_(std::move(item)), localPlayer_(std::move(localPlayer)), localKey_(std::move(localKey)) {
  auto catalogue = BVLItemIDSource::sharedSource();
  auto definition = item_.isNamed() ? catalogue->itemDefinitionWithName(item_.identifier())
                                    : catalogue->itemDefinitionWithID(item_.id(), 0);
  setTitle(definition ? definition->name : item_.idText());
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(0, 0, 320, 480), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorColor(ui::Color::clear());
  tableView_->registerClass<ContainerTableViewCell>("cell");
}

FindItemTableViewController::~FindItemTableViewController() {
  if (task_) task_->cancel();
}

void FindItemTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<FindItemTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);

  progressLabel_ = std::make_shared<BVLLabel>(ui::Rect(0, 120, view()->bounds().width(), 24));
  progressLabel_->setFont(ui::Font::named("Minecraft", 16));
  progressLabel_->setTextAlignment(ui::TextAlignment::Center);
  progressLabel_->setText("Looking through the world... 0%");
  view()->addSubview(progressLabel_);
  // As on the containers screen: the work holds the database, never the
  // screen.
  struct Result {
    std::vector<ItemFinder::Found> found;
    DamagedRecords damaged;
    std::string failure;
  };
  auto result = std::make_shared<Result>();
  std::weak_ptr<FindItemTableViewController> weakSelf = self;
  task_ = ui::BackgroundTask::start(
      [db = db_, item = item_, result](const ui::BackgroundTask::Progress& progress) {
        double done = 0;
        try {
          ItemFinder finder;
          finder.addSource(CreatureItemSource::make());
          result->found = finder.find(
              *db, item, [&] { return !progress(done); }, [&](double share) { progress(done = share); },
              &result->damaged);
        } catch (const TBKException& error) {
          result->failure = error.reason();
        }
      },
      [weakSelf](double done) {
        if (auto self = weakSelf.lock(); self && !self->listed_) {
          self->progressLabel_->setText("Looking through the world... " + std::to_string(int(done * 100)) + "%");
        }
      },
      [weakSelf, result] {
        auto self = weakSelf.lock();
        if (!self) return;
        if (!result->failure.empty()) showError(result->failure);
        self->show(std::move(result->found));
        // Not finding an item in a world whose records could not all be
        // read does not mean it is not there.
        if (!result->damaged.empty()) showError(result->damaged.told("Some records could not be looked through."));
      });
}

void FindItemTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (!background_) {
    auto root = view();
    background_ = addTableScreenBackground(*root);
    tableView_->setFrame(ui::Rect(0, 0, root->bounds().width(), root->bounds().height()));
  }
}

void FindItemTableViewController::show(std::vector<ItemFinder::Found> found) {
  listed_ = true;
  places = std::move(found);
  if (places.empty()) {
    progressLabel_->setText("It lies nowhere in this world.");
  } else {
    progressLabel_->removeFromSuperview();
  }
  tableView_->reloadData();
}

std::shared_ptr<ui::Image> FindItemTableViewController::pictureOf(const ItemFinder::Found& place) const {
  auto catalogue = BVLItemIDSource::sharedSource();
  if (place.inContainer() && place.container.kind) {
    return catalogue->basicImageForItemWithName(std::string(place.container.kind->picture));
  }
  if (place.onCreature()) {
    for (const auto& item : CreatureKind::pictureItems(place.creature->summary)) {
      if (catalogue->itemDefinitionWithName(item)) return catalogue->basicImageForItemWithName(item);
    }
  }
  if (place.list == "EnderChestInventory") return catalogue->basicImageForItemWithName("minecraft:ender_chest");
  return item_.isNamed() ? catalogue->basicImageForItemWithName(item_.identifier())
                         : catalogue->basicImageForItemWithID(item_.id(), 0);
}

std::shared_ptr<ui::TableViewCell> FindItemTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                      const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<ContainerTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  const ItemFinder::Found& place = places.at(size_t(indexPath.row));
  std::string where = place.where();
  // The owner on the first line, the rest of the place beneath it.
  auto at = where.find(place.onCreature() || place.inContainer() ? " at " : "'s ");
  std::string name = at == std::string::npos ? where : where.substr(0, at);
  std::string rest = at == std::string::npos ? std::string() : where.substr(at + (where[at] == ' ' ? 4 : 3));
  std::weak_ptr<FindItemTableViewController> weakSelf =
      std::static_pointer_cast<FindItemTableViewController>(shared_from_this());
  cell->makeReady(pictureOf(place), name,
                  rest + "  " + std::to_string(place.count) + (place.count == 1 ? " item" : " items"),
                  [weakSelf, row = indexPath.row] {
                    if (auto self = weakSelf.lock()) self->open(self->places.at(size_t(row)));
                  });
  return cell;
}

void FindItemTableViewController::open(const ItemFinder::Found& place) {
  auto navigation = navigationController();
  if (!navigation) return;
  try {
    if (place.inContainer()) {
      auto record = std::make_shared<ContainerRecord>(db_, place.container);
      if (!record->knowsKind()) return;
      return openEntries(*navigation, record->equipment(), record->items(), record->capacity(), place.container.name(),
                         place, record->slotNames());
    }
    if (place.onCreature()) {
      // Read afresh: the walk's copy may be older than a change made since.
      auto entity = TBKEntities::read(*db_, place.creature->idText());
      if (!entity) return showError("It is no longer in the world.");
      auto record = std::make_shared<CreatureRecord>(db_, entity);
      navigation->pushViewController(std::make_shared<CreatureViewController>(record), false);
      for (const auto& list : record->itemLists()) {
        if (list.key == place.list) {
          openEntries(*navigation, record->equipment(), entity->tree->listForKey(list.key), list.capacity, list.title,
                      place);
        }
      }
      return;
    }
    auto tree = place.playerKey == localKey_ && localPlayer_ ? localPlayer_ : db_->playerForKey(place.playerKey);
    auto record = std::make_shared<EquipmentRecord>(db_, tree, place.playerKey);
    auto entries = tree->listForKey(place.list);
    if (!entries) return;
    if (place.list == "Armor") {
      navigation->pushViewController(std::make_shared<ArmorViewController>(record), false);
      navigation->pushViewController(std::make_shared<ItemViewController>(record, entries, place.slot), true);
    } else if (place.list == "Offhand") {
      navigation->pushViewController(std::make_shared<ItemViewController>(record, entries, place.slot), true);
    } else {
      openEntries(*navigation, record, entries, 0, place.list == "Inventory" ? "Inventory" : "Ender Chest", place);
    }
  } catch (const TBKException& error) {
    showError(error.reason());
  }
}
