#include "equipment/InventoryViewController.h"

InventoryViewController::InventoryViewController(const std::shared_ptr<TBKLevelDB>&,
                                                 const std::shared_ptr<TBKCompoundTag>&) {}
