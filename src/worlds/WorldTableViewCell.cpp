#include "worlds/WorldTableViewCell.h"

#include "external/Tarnbook.h"
#include "ui/DateFormatter.h"
#include "ui/Font.h"

namespace {

struct WorldSummary {
  std::string name;
  std::string mode;
  std::string lastPlayed;
};

// The folder name stands in for a world whose level data cannot be read, so
// the user can still tell which world it is.
WorldSummary summaryOfWorld(const std::string& folderName) {
  WorldSummary summary{folderName, "", ""};
  std::shared_ptr<TBKCompoundTag> level;
  try {
    level = TBKLevelDB::dbForWorldNamed(folderName)->levelData();
  } catch (const TBKException&) {
    return summary;
  }
  summary.name = level->stringForKey("LevelName");
  summary.mode = level->numberForKey("GameType").boolValue() ? "Creative" : "Survival";
  ui::DateFormatter formatter;
  formatter.setDateStyle(ui::DateFormatterStyle::Short);
  formatter.setTimeStyle(ui::DateFormatterStyle::None);
  // Seconds since 1970 (UTC), read as unsigned as the game writes them.
  double seconds = double(level->numberForKey("LastPlayed").unsignedLongLongValue());
  summary.lastPlayed = formatter.stringFromDate(ui::Date{seconds});
  return summary;
}

}  // namespace

std::shared_ptr<ui::Image> WorldTableViewCell::spritesheetTile(const ui::Rect& pixels, double points, double cap) {
  auto tile = bvl_resize(bvl_subImageWithFrame(bvl_imageNamed("spritesheet", "png"), pixels), ui::Size{points, points});
  return tile ? tile->resizable(ui::EdgeInsets{cap, cap, cap, cap}) : nullptr;
}

WorldTableViewCell::WorldTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {
  background = std::make_shared<ui::ImageView>(bounds(), spritesheetTile(ui::Rect(8, 32, 8, 8), 16, 4));
  selectedBackground = std::make_shared<ui::ImageView>(bounds(), spritesheetTile(ui::Rect(0, 32, 8, 8), 16, 4));
  // The background view is the cell's own direct subview, at the back.
  setBackgroundView(background);
  setSelectedBackgroundView(selectedBackground);
}

void WorldTableViewCell::configureWithIndex(long index) {
  std::vector<std::string> names;
  try {
    names = TBKLevelDB::worlds();
  } catch (const TBKException&) {
    // The list explains an unreadable worlds folder; the row stays empty.
  }
  WorldSummary summary;
  if (index >= 0 && size_t(index) < names.size()) summary = summaryOfWorld(names[size_t(index)]);
  replaceLabel(worldNameLabel, summary.name, ui::Point{10, 10}, BVLLabel::HeaderStyle);
  replaceLabel(gameModeLabel, summary.mode, ui::Point{10, 32}, BVLLabel::DetailStyle);
  replaceLabel(lastPlayedLabel, summary.lastPlayed, ui::Point{112, 32}, BVLLabel::DetailStyle);
  background->setFrame(bounds());
  selectedBackground->setFrame(bounds());
}

void WorldTableViewCell::configureWithTitle(const std::string& title, const std::string& detail) {
  replaceLabel(worldNameLabel, title, ui::Point{10, 10}, BVLLabel::HeaderStyle);
  replaceLabel(gameModeLabel, detail, ui::Point{10, 32}, BVLLabel::DetailStyle);
  replaceLabel(lastPlayedLabel, "", ui::Point{112, 32}, BVLLabel::DetailStyle);
  background->setFrame(bounds());
  selectedBackground->setFrame(bounds());
}

void WorldTableViewCell::replaceLabel(std::shared_ptr<BVLLabel>& label, const std::string& text, ui::Point origin,
                                      int style) {
  if (label) label->removeFromSuperview();
  ui::Size size = ui::Font::named("Minecraft", 16).measure(text);
  label = std::make_shared<BVLLabel>(ui::Rect(origin.x, origin.y, size.width + 4, size.height + 4));
  label->setStyle(style);
  label->setText(text);
  addSubview(label);
}

void WorldTableViewCell::setSelected(bool selected, bool animated) {
  ui::TableViewCell::setSelected(selected, animated);
  ui::TableViewCell::setSelected(false, animated);
}
