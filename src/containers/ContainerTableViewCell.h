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

  std::shared_ptr<ui::ImageView> pictureView;
  std::shared_ptr<BVLLabel> nameLabel;
  std::shared_ptr<BVLLabel> detailLabel;
  std::shared_ptr<BVLButton> button;
};
