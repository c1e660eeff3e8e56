#include "ui/DateFormatter.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "ui/TestDriver.h"

namespace ui {
namespace {

// The zone and the locale are the user's: the same instant reads as another
// day west of Greenwich, and another order of fields elsewhere.
TEST(DateFormatter, ShortDatesFollowTheUsersZoneAndLocale) {
  setenv("TZ", "America/New_York", 1);
  tzset();
  setenv("LC_ALL", "en_US.UTF-8", 1);
  TestDriver driver;
  DateFormatter formatter;
  formatter.setDateStyle(DateFormatterStyle::Short);
  formatter.setTimeStyle(DateFormatterStyle::None);
  EXPECT_EQ(formatter.stringFromDate(Date{0}), "12/31/69");
  EXPECT_EQ(formatter.stringFromDate(Date{1733500000}), "12/6/24");  // 2024-12-06 15:46 UTC
  EXPECT_EQ(formatter.stringFromDate(Date{18000}), "1/1/70") << "midnight in New York";
  // A stored -1 read as an unsigned count of seconds: the far future, not a
  // wrap into a negative year.
  EXPECT_EQ(formatter.stringFromDate(Date{18446744073709551615.0}).find('-'), std::string::npos);
  EXPECT_EQ(formatter.stringFromDate(Date{std::nan("")}), "12/31/69");
}

}  // namespace
}  // namespace ui
