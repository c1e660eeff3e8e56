#pragma once

#include <memory>
#include <string>

#include "external/Bevel.h"

// A cell's small grey line in the game's font, sized to its text at x, y.
std::shared_ptr<BVLLabel> makeDetailLabel(const std::string& text, double x, double y, double size);
