#pragma once

#include <memory>

#include "external/Tarnbook.h"
#include "ui/ViewController.h"

// The player's inventory. An empty screen until the grid is built; the level
// screen's "Inventory" row already leads here.
class InventoryViewController : public ui::ViewController {
 public:
  InventoryViewController(const std::shared_ptr<TBKLevelDB>& db, const std::shared_ptr<TBKCompoundTag>& player);
};
