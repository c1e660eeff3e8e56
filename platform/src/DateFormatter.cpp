#include "ui/DateFormatter.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>
#include <algorithm>
#include <cmath>

#include "QtConversions.h"

namespace ui {

std::string DateFormatter::stringFromDate(Date date) const {
  // Milliseconds beyond what 64 bits hold (a stored time of -1 read as
  // unsigned) stop at the far end of the range rather than wrapping around
  // into the distant past; the cast alone would be undefined.
  constexpr double limit = 9.2e18;
  double milliseconds =
      std::isnan(date.secondsSince1970) ? 0 : std::clamp(date.secondsSince1970 * 1000.0, -limit, limit);
  QDateTime when = QDateTime::fromMSecsSinceEpoch(qint64(milliseconds), QTimeZone::systemTimeZone());
  QLocale locale = QLocale::system();
  auto format = [](DateFormatterStyle s) {
    return s == DateFormatterStyle::Long    ? QLocale::LongFormat
           : s == DateFormatterStyle::Short ? QLocale::ShortFormat
                                            : QLocale::LongFormat;
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
