#include "records/WholeNumber.h"

#include <gtest/gtest.h>

namespace {

TEST(WholeNumberFromText, ReadsTheNumberTheTextBeginsWithHeldToTheRange) {
  constexpr int64_t top = std::numeric_limits<int64_t>::max(), bottom = std::numeric_limits<int64_t>::min();
  struct Case {
    const char* text;
    int64_t lowest, highest, number;
  } cases[] = {
      {"", -100, 100, 0},
      {"x12", -100, 100, 0},
      {"-", -100, 100, 0},
      {"- 5", -100, 100, 0},
      {"+-1", -100, 100, 0},
      {"12abc", -100, 100, 12},
      {"1 2", -100, 100, 1},
      {"\t\n\v\f\r 42", -100, 100, 42},
      {"  +007", -100, 100, 7},
      {" -40", -100, 100, -40},
      {"100", -100, 100, 100},
      {"101", -100, 100, 100},
      {"-101", -100, 100, -100},
      {"0", 1, 8, 1},
      {"9223372036854775807", bottom, top, top},
      {"9223372036854775808", bottom, top, top},
      {"-9223372036854775808", bottom, top, bottom},
      {"-9223372036854775809", bottom, top, bottom},
      {"99999999999999999999999999999", bottom, top, top},
      {"-99999999999999999999999999999abc", bottom, top, bottom},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WholeNumberFromText(c.text, c.lowest, c.highest), c.number) << '"' << c.text << '"';
  }
}

}  // namespace
