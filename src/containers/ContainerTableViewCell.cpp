#include "containers/ContainerTableViewCell.h"

#include "app/DetailLabel.h"
#include "ui/Font.h"

ContainerTableViewCell::ContainerTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {}

void ContainerTableViewCell::makeReadyWithContainer(const ContainerSummary& container, Open open) {
  auto picture = container.kind
                     ? BVLItemIDSource::sharedSource()->basicImageForItemWithName(std::string(container.kind->picture))
                     : nullptr;
  makeReady(picture, container.name(), container.positionText() + "  " + container.contents(), std::move(open));
}

void ContainerTableViewCell::makeReady(std::shared_ptr<ui::Image> picture, const std::string& name,
                                       const std::string& detail, Open open) {
  for (auto view : std::initializer_list<std::shared_ptr<ui::View>>{pictureView, nameLabel, detailLabel, button}) {
    if (view) view->removeFromSuperview();
  }
  setBackgroundColor(ui::Color::clear());
  pictureView = std::make_shared<ui::ImageView>(
      ui::Rect(12, 7, 32, 32), picture ? picture : BVLItemIDSource::sharedSource()->genericItemImage());
  nameLabel = makeDetailLabel(name, 54, 6, 16);
  detailLabel = makeDetailLabel(detail, 54, 29, 8);
  button = std::make_shared<BVLButton>(ui::Rect(frame().width() - 160, 5, 140, 36), [open](BVLButton&) { open(); });
  button->setTitle("Open...", ui::ControlState::Normal);
  for (auto view : std::initializer_list<std::shared_ptr<ui::View>>{pictureView, nameLabel, detailLabel, button}) {
    addSubview(view);
  }
}
