#include "equipment/ArmorCell.h"

ArmorCell::ArmorCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {}
