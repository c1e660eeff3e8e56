#include "level/PlayerTableViewCell.h"

#include <algorithm>
#include <cmath>

#include "app/DetailLabel.h"
#include "ui/AlertView.h"
#include "ui/Font.h"

PlayerTableViewCell::PlayerTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {}

std::string PlayerTableViewCell::shortName(const TBKPlayerEntry& entry) {
  if (entry.isLocal()) return "Local Player";
  // Account ids share their first digits ("2535..."); their ends tell
  // players apart. A uuid's front does.
  if (!entry.id.empty()) return "Player " + entry.id.substr(entry.id.size() > 8 ? entry.id.size() - 8 : 0);
  std::string prefix = TBKPlayerEntry::serverPrefix;
  return "Player " + entry.key.substr(std::min(prefix.size(), entry.key.size()), 8);
}

std::string PlayerTableViewCell::placeOf(const TBKCompoundTag& player) {
  auto position = player.listForKey("Pos");
  if (!position || position->count() < 3) return "";
  std::string place;
  switch (int32_t dimension = player.numberForKey("DimensionId").intValue()) {
    case 0:
      place = "Overworld";
      break;
    case 1:
      place = "Nether";
      break;
    case 2:
      place = "The End";
      break;
    default:
      place = "Dimension " + std::to_string(dimension);
  }
  for (size_t i = 0; i < 3; ++i) {
    auto coordinate = std::dynamic_pointer_cast<TBKNumberTag>(position->objectAtIndexedSubscript(i));
    double value = coordinate ? coordinate->value().doubleValue() : 0;
    // The block the player stands in; a position past any block is shown as it is not.
    long block = std::isfinite(value) && std::fabs(value) < 1e9 ? long(std::floor(value)) : 0;
    place += (i == 0 ? " " : ", ") + std::to_string(block);
  }
  return place;
}

void PlayerTableViewCell::makeReadyWithPlayer(const TBKPlayerEntry& entry, const std::string& place,
                                              const std::string& problem, Open open) {
  for (auto& view : {std::static_pointer_cast<ui::View>(nameLabel), std::static_pointer_cast<ui::View>(placeLabel),
                     std::static_pointer_cast<ui::View>(button)}) {
    if (view) view->removeFromSuperview();
  }
  setBackgroundColor(ui::Color::clear());
  nameLabel = makeDetailLabel(shortName(entry), 40, 6, 16);
  placeLabel = makeDetailLabel(problem.empty() ? place : "Its record cannot be opened", 40, 29, 8);
  addSubview(nameLabel);
  addSubview(placeLabel);

  ui::Rect frame(this->frame().width() - 220, 5, 200, 36);
  if (problem.empty()) {
    button = std::make_shared<BVLButton>(frame, [entry, open](BVLButton&) { open(entry); });
    button->setTitle("Edit...", ui::ControlState::Normal);
  } else {
    button = std::make_shared<BVLButton>(frame, [problem](BVLButton&) {
      std::make_shared<ui::AlertView>("Missing Player", problem, nullptr, "Okay", std::vector<std::string>{})->show();
    });
    button->setTitle("Why?", ui::ControlState::Normal);
  }
  addSubview(button);
}
