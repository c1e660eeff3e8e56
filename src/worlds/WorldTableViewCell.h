#pragma once

#include <memory>
#include <string>

#include "external/Bevel.h"
#include "ui/ImageView.h"
#include "ui/TableViewCell.h"

// One row of the world list: the world's name, its game mode and the day it
// was last played, over a tile cut from the game's sprite sheet. The row
// never stays selected.
class WorldTableViewCell : public ui::TableViewCell {
 public:
  WorldTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  // Fills the row for the world at `index` of TBKLevelDB::worlds(), reading
  // its level data afresh. A world whose level data cannot be read shows its
  // folder name and empty mode and date; an index past the end (a world
  // gone since the table counted them) shows nothing. Never raises for a
  // world's own damage, so one bad world cannot hide the others.
  void configureWithIndex(long index);
  // Fills the row with a title and a line below it: an action of the list
  // (importing a world) or a file to choose.
  void configureWithTitle(const std::string& title, const std::string& detail);

  using ui::TableViewCell::setSelected;
  // Passes the selection on, then takes it back at once.
  void setSelected(bool selected, bool animated) override;

  // A rectangle of the sprite sheet's pixels scaled to `points` square and
  // made resizable with `cap` points kept on every side; null without the
  // picture.
  static std::shared_ptr<ui::Image> spritesheetTile(const ui::Rect& pixels, double points, double cap);

  // Replaced at each fill; null before the first.
  std::shared_ptr<BVLLabel> worldNameLabel;
  std::shared_ptr<BVLLabel> gameModeLabel;
  std::shared_ptr<BVLLabel> lastPlayedLabel;
  std::shared_ptr<ui::ImageView> background;
  std::shared_ptr<ui::ImageView> selectedBackground;

 private:
  void replaceLabel(std::shared_ptr<BVLLabel>& label, const std::string& text, ui::Point origin, int style);
};
