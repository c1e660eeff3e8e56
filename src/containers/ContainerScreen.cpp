#include "containers/ContainerScreen.h"

#include "equipment/InventoryViewController.h"
#include "records/ContainerRecord.h"
#include "tree/TagTreeViewController.h"

std::shared_ptr<ui::ViewController> containerScreen(const std::shared_ptr<TBKLevelDB>& db,
                                                    const ContainerSummary& container) {
  auto record = std::make_shared<ContainerRecord>(db, container);
  if (!record->knowsKind()) return std::make_shared<TagTreeViewController>(container.name(), record->record());
  auto grid = std::make_shared<InventoryViewController>(record->equipment(), record->items());
  grid->setCapacity(record->capacity());
  grid->setSlotCaptions(record->slotNames());
  grid->setTitle(container.name());
  return grid;
}
