#pragma once

#include <memory>
#include <string>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "ui/ImageView.h"
#include "ui/TableViewCell.h"

// One row of the backups screen: when the backup was made (local date and
// time) and what it holds, or why it cannot be restored, over the world
// list's tile. The row never stays selected.
class BackupTableViewCell : public ui::TableViewCell {
 public:
  BackupTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  void configureWithBackup(const TBKBackup& backup);

  // The backup's time in the user's time zone and locale, date and time.
  static std::string localTime(const TBKBackup& backup);
  // "level.dat, levelname.txt, 2 players, 5 other records", or "Damaged: <why>".
  static std::string summary(const TBKBackup& backup);

  using ui::TableViewCell::setSelected;
  void setSelected(bool selected, bool animated) override;

  // Replaced at each fill; null before the first.
  std::shared_ptr<BVLLabel> timeLabel;
  std::shared_ptr<BVLLabel> contentsLabel;

 private:
  void replaceLabel(std::shared_ptr<BVLLabel>& label, const std::string& text, ui::Point origin, int style);
};
