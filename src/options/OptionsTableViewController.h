#pragma once

#include "ui/ViewController.h"

class OptionsTableViewController : public ui::ViewController {
 public:
  OptionsTableViewController();
};
