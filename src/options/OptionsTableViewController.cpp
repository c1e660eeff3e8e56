#include "options/OptionsTableViewController.h"

// An empty screen until its rows are built; the menu already leads here.
OptionsTableViewController::OptionsTableViewController() { setEdgesForExtendedLayout(ui::RectEdge::None); }
