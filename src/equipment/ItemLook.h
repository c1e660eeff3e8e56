#pragma once

#include <memory>
#include <string>

#include "external/Bevel.h"
#include "records/ItemIdentity.h"

// An item as the catalogue shows it: the name (empty for an unknown numbered
// item and an empty slot, the name itself for an unknown named one), the
// picture (null for an unknown numbered item and an empty slot, the generic
// picture for an unknown name) and a view showing it (an unknown name written
// over the generic picture; nothing for an empty slot).
std::string itemName(const ItemIdentity& item);
std::shared_ptr<ui::Image> itemPicture(const ItemIdentity& item);
std::shared_ptr<BVLItemView> itemViewWithFrame(const ItemIdentity& item, const ui::Rect& frame);
