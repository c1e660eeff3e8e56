#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Geometry.h"
#include "ui/Image.h"

// The game's pictures, as a category on the platform's image class.
//
// Pictures are read from the game's application bundle: the folder given to
// bvl_setGameBundlePath, or else the one named by the environment variable
// TARNBOOK_GAME_APP. A name is looked for first in data/images/gui/, then in
// data/images/. Each file is read once and the picture shared afterwards.
// Every function takes and returns null freely: a missing picture, or a
// rectangle outside it, gives null rather than an error.

// Replaces the bundle folder read from the environment; empty goes back to it.
void bvl_setGameBundlePath(const std::string& path);
// The bundle folder in use, or empty when none is known.
std::string bvl_gameBundlePath();

// "gui", "png" -> <bundle>/data/images/gui/gui.png (or data/images/gui.png).
std::shared_ptr<ui::Image> bvl_imageNamed(const std::string& name, const std::string& extension);
// Where bvl_imageNamed looks, in its order (for ui::Image::prefetch).
std::vector<std::string> bvl_imagePaths(const std::string& name, const std::string& extension);
// The pixels of `pixelRect` (the picture's own pixels, not points).
std::shared_ptr<ui::Image> bvl_subImageWithFrame(const std::shared_ptr<ui::Image>& image, const ui::Rect& pixelRect);
// Scaled to `points` at the screen's scale, nearest neighbour, so pixel art
// keeps its hard edges.
std::shared_ptr<ui::Image> bvl_resize(const std::shared_ptr<ui::Image>& image, ui::Size points);
