#pragma once

#include <memory>

#include "ui/Color.h"
#include "ui/Image.h"

// A 1 by 1 point picture of one colour, alpha kept, at the screen's scale.
std::shared_ptr<ui::Image> ImageFromColor(const ui::Color& color);
