#pragma once

#include <memory>

#include "external/Bevel.h"
#include "ui/View.h"

// The backdrop of a table screen, sized to `root`'s bounds (W x H) as they
// are now: a panorama at (0, -64, W, H + 64), reaching up under the half
// transparent navigation bar and clipped to itself, as `root`'s back-most
// child, and a black view of opacity 0.5 over the bounds directly above it
// (held by `root` alone). Returns the panorama for the screen to keep.
std::shared_ptr<BVLPanorama> addTableScreenBackground(ui::View& root);
