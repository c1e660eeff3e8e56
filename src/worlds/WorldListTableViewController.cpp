#include "worlds/WorldListTableViewController.h"

// An empty screen until its rows are built; the menu already leads here.
WorldListTableViewController::WorldListTableViewController() { setEdgesForExtendedLayout(ui::RectEdge::None); }
