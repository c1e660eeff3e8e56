#pragma once

#include <string>

#include "ui/TableViewCell.h"

// A row of the armor table: a plain cell, picture and title, nothing more.
class ArmorCell : public ui::TableViewCell {
 public:
  ArmorCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
};
