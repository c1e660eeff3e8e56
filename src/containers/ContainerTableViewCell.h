#pragma once

#include <functional>
#include <memory>

#include "external/Bevel.h"
#include "records/ContainerSummary.h"
#include "ui/ImageView.h"
#include "ui/TableViewCell.h"

// A row of the containers screen: the kind's picture, the container's name,
// where it stands and what it holds ("12 items", "empty", "loot not yet
// generated"), and a button that opens it.
class ContainerTableViewCell : public ui::TableViewCell {
 public:
  using Open = std::function<void()>;

  ContainerTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  void makeReadyWithContainer(const ContainerSummary& container, Open open);
  // Any row of the same look: a picture (null: the catalogue's generic
  // one), a name, the line beneath it and the button's action.
  void makeReady(std::shared_ptr<ui::Image> picture, const std::string& name, const std::string& detail, Open open);

  std::shared_ptr<ui::ImageView> pictureView;
  std::shared_ptr<BVLLabel> nameLabel;
  std::shared_ptr<BVLLabel> detailLabel;
  std::shared_ptr<BVLButton> button;
};
