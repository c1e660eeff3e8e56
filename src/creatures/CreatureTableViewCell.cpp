#include "creatures/CreatureTableViewCell.h"

#include "creatures/CreaturePicture.h"

CreatureTableViewCell::CreatureTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {
  setBackgroundColor(ui::Color::clear());
  titleLabel = std::make_shared<BVLLabel>(ui::Rect(52, 2, 400, 20));
  detailLabel = std::make_shared<BVLLabel>(ui::Rect(52, 20, 400, 18));
  detailLabel->setStyle(BVLLabel::DetailStyle);
  addSubview(titleLabel);
  addSubview(detailLabel);
}

void CreatureTableViewCell::prepareWithRow(const CreatureList::Row& row) {
  if (pictureView) pictureView->removeFromSuperview();
  pictureView = nullptr;
  double width = frame().width();
  titleLabel->setText(row.text);
  if (!row.entity) {
    // A heading stands out to the left of its members.
    titleLabel->setStyle(BVLLabel::HeaderStyle);
    titleLabel->setFrame(ui::Rect(12, 10, width - 24, 20));
    detailLabel->setHidden(true);
    return;
  }
  titleLabel->setStyle(0);
  titleLabel->setFrame(ui::Rect(64, 2, width - 76, 20));
  detailLabel->setHidden(false);
  detailLabel->setFrame(ui::Rect(64, 21, width - 76, 18));
  detailLabel->setText(CreatureList::detail(*row.entity));
  pictureView = BVLItemView::itemViewWithFrame(ui::Rect(28, 4, 32, 32), creaturePicture(row.entity->summary), 0);
  addSubview(pictureView);
}
