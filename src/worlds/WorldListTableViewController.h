#pragma once

#include "ui/ViewController.h"

class WorldListTableViewController : public ui::ViewController {
 public:
  WorldListTableViewController();
};
