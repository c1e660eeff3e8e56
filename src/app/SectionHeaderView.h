#pragma once

#include <memory>
#include <string>

#include "ui/View.h"

// The header of a settings table's section: a view `width` wide and 26 high
// holding the section's name as a style-3 label at (24, 6), sized to the name
// as the game font measures it at 16 points. Made anew for every request.
std::shared_ptr<ui::View> makeSectionHeaderView(const std::string& name, double width);
