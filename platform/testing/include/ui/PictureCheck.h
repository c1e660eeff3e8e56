#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ui/Color.h"
#include "ui/Geometry.h"

namespace ui {

class Image;

// A picture described by what it should show: the colour at a point (in
// points, the picture's own coordinates), or nothing where any colour will do
// (the antialiased rim of a rounded shape, the glyphs of a system font).
using ExpectedPicture = std::function<std::optional<Color>(Point)>;

// Compares every pixel of `picture`, at its centre, with `expected`. A pixel
// matches when each of its straight-alpha channels is within `tolerance`
// (0...255) of the expected colour's. Returns "" when every pixel matches,
// otherwise the number that do not and the first few of them, for a test's
// failure message.
std::string pictureDifferences(const Image& picture, const ExpectedPicture& expected, int tolerance = 2);

}  // namespace ui
