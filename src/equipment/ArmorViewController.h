#pragma once

#include <memory>

#include "external/Tarnbook.h"
#include "ui/ViewController.h"

// The player's armor. An empty screen until the table and figure are built;
// the level screen's "Armor" row already leads here.
class ArmorViewController : public ui::ViewController {
 public:
  explicit ArmorViewController(const std::shared_ptr<TBKLevelDB>& db);
};
