#pragma once

#include <string>

namespace ui {

// Seconds since 1970-01-01 00:00:00 UTC.
struct Date {
  double secondsSince1970 = 0;
};

enum class DateFormatterStyle { None, Short, Medium, Long };

// Dates in the user's locale and time zone.
class DateFormatter {
 public:
  void setDateStyle(DateFormatterStyle style) { dateStyle_ = style; }
  void setTimeStyle(DateFormatterStyle style) { timeStyle_ = style; }
  std::string stringFromDate(Date date) const;

 private:
  DateFormatterStyle dateStyle_ = DateFormatterStyle::None;
  DateFormatterStyle timeStyle_ = DateFormatterStyle::None;
};

}  // namespace ui
