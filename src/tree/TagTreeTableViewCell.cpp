#include "tree/TagTreeTableViewCell.h"

#include <algorithm>

#include "records/TagValueText.h"
#include "ui/Font.h"

namespace {

std::shared_ptr<BVLLabel> makeLabel(ui::TableViewCell& cell, int style) {
  auto label = std::make_shared<BVLLabel>(ui::Rect());
  label->setStyle(style);
  // Long names and values end at their column instead of running on.
  label->setClipsToBounds(true);
  cell.addSubview(label);
  return label;
}

}  // namespace

TagTreeTableViewCell::TagTreeTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier),
      markLabel(makeLabel(*this, BVLLabel::HeaderStyle)),
      nameLabel(makeLabel(*this, BVLLabel::HeaderStyle)),
      typeLabel(makeLabel(*this, BVLLabel::DetailStyle)),
      valueLabel(makeLabel(*this, 0)) {
  // "list of compound" is the longest type word; smaller than the name and
  // value it fits a column of its own.
  typeLabel->setFont(ui::Font::named("Minecraft", 12));
}

void TagTreeTableViewCell::prepareWithRow(const TagTreeRow& row, bool selected) {
  const TBKTag& tag = *row.tag;
  bool container = tag.type() == TBKTagType::Compound || tag.type() == TBKTagType::List;
  bool inList = row.parent && row.parent->type() == TBKTagType::List;
  // Selection shows as a lighter band, the game's hover look; the toolkit's
  // grey selection is not used.
  setBackgroundColor(selected ? ui::Color::rgba(1, 1, 1, 0.25) : ui::Color::clear());

  double W = frame().width();
  double H = frame().height();
  double indent = 12 + row.depth * indentPerLevel;
  // Columns: name up to 44% of the row, type 150 points, value to the end.
  double typeX = std::max(indent + 60, W * 0.44);
  double valueX = typeX + 150;
  markLabel->setFrame(ui::Rect(indent, 0, 14, H));
  markLabel->setText(container ? (row.open ? "-" : "+") : "");
  nameLabel->setFrame(ui::Rect(indent + 16, 0, typeX - indent - 24, H));
  nameLabel->setText(inList ? "[" + std::to_string(row.index) + "]" : std::string(tag.name()));
  typeLabel->setFrame(ui::Rect(typeX, 0, 144, H));
  typeLabel->setText(TagValueText::typeName(tag));
  valueLabel->setFrame(ui::Rect(valueX, 0, std::max(0.0, W - valueX - 12), H));
  // A row is at most a screen wide: a value is cut well before it would
  // cost time to lay out.
  valueLabel->setText(TagValueText::valueText(tag, 120));
}
