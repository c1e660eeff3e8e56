#pragma once

#include <memory>

#include "external/Tarnbook.h"
#include "records/ContainerSummary.h"
#include "ui/ViewController.h"

// The screen a container opens in, from its list or the map: its slots in
// the inventory's grid (with its item editor and plus button) or, for a
// kind Gorvane does not know, its tag tree. Reads the container afresh and
// raises TBKException when it cannot.
std::shared_ptr<ui::ViewController> containerScreen(const std::shared_ptr<TBKLevelDB>& db,
                                                    const ContainerSummary& container);
