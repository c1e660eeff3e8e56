#include "ui/DateFormatter.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include "Private.h"

namespace ui {

std::string DateFormatter::stringFromDate(Date date) const {
  QDateTime when = QDateTime::fromMSecsSinceEpoch(qint64(date.secondsSince1970 * 1000.0), QTimeZone::systemTimeZone());
  QLocale locale = QLocale::system();
  auto format = [](DateFormatterStyle s) {
    return s == DateFormatterStyle::Long ? QLocale::LongFormat
                                         : s == DateFormatterStyle::Short ? QLocale::ShortFormat : QLocale::LongFormat;
  };
  QString text;
  if (dateStyle_ != DateFormatterStyle::None) text = locale.toString(when.date(), format(dateStyle_));
  if (timeStyle_ != DateFormatterStyle::None) {
    if (!text.isEmpty()) text += ' ';
    text += locale.toString(when.time(), format(timeStyle_));
  }
  return fromQt(text);
}

}  // namespace ui
