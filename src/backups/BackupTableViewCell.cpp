#include "backups/BackupTableViewCell.h"

#include "ui/DateFormatter.h"
#include "ui/Font.h"
#include "worlds/WorldTableViewCell.h"

BackupTableViewCell::BackupTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {
  setBackgroundView(
      std::make_shared<ui::ImageView>(bounds(), WorldTableViewCell::spritesheetTile(ui::Rect(8, 32, 8, 8), 16, 4)));
  setSelectedBackgroundView(
      std::make_shared<ui::ImageView>(bounds(), WorldTableViewCell::spritesheetTile(ui::Rect(0, 32, 8, 8), 16, 4)));
}

std::string BackupTableViewCell::localTime(const TBKBackup& backup) {
  ui::DateFormatter formatter;
  formatter.setDateStyle(ui::DateFormatterStyle::Medium);
  formatter.setTimeStyle(ui::DateFormatterStyle::Medium);
  return formatter.stringFromDate(ui::Date{backup.secondsSince1970});
}

std::string BackupTableViewCell::summary(const TBKBackup& backup) {
  if (!backup.restorable()) return "Damaged: " + backup.damage;
  if (!backup.worldName.empty()) return "\"" + backup.worldName + "\", the whole world";
  std::string text;
  int players = 0, others = 0;
  for (const auto& item : backup.contents) {
    if (item == "level.dat" || item == "level.dat_old" || item == "levelname.txt") {
      text += (text.empty() ? "" : ", ") + item;
    } else if (item == "~local_player" || item.rfind("player_", 0) == 0) {
      ++players;
    } else {
      ++others;
    }
  }
  auto count = [&](int n, const char* one, const char* many) {
    if (n > 0) text += ", " + std::to_string(n) + (n == 1 ? one : many);
  };
  count(players, " player", " players");
  count(others, " other record", " other records");
  return text;
}

void BackupTableViewCell::configureWithBackup(const TBKBackup& backup) {
  replaceLabel(timeLabel, localTime(backup), ui::Point{10, 10}, BVLLabel::HeaderStyle);
  replaceLabel(contentsLabel, summary(backup), ui::Point{10, 32}, BVLLabel::DetailStyle);
  backgroundView()->setFrame(bounds());
  selectedBackgroundView()->setFrame(bounds());
}

void BackupTableViewCell::replaceLabel(std::shared_ptr<BVLLabel>& label, const std::string& text, ui::Point origin,
                                       int style) {
  if (label) label->removeFromSuperview();
  // A long reason is cut at the row's edge rather than spilling past it.
  ui::Size size = ui::Font::named("Minecraft", 16).measure(text);
  label = std::make_shared<BVLLabel>(
      ui::Rect(origin.x, origin.y, std::min(size.width + 4, bounds().width() - origin.x - 6), size.height + 4));
  label->setStyle(style);
  label->setText(text);
  addSubview(label);
}

void BackupTableViewCell::setSelected(bool selected, bool animated) {
  ui::TableViewCell::setSelected(selected, animated);
  ui::TableViewCell::setSelected(false, animated);
}
