#include "ReadLimits.h"

#include <gtest/gtest.h>

#include "Tarnbook/TBKException.h"
#include "TarnbookTestWorld.h"

namespace {

TEST(ReadLimits, AFileOverItsLimitIsRefusedAsDamagedSayingBothSizes) {
  struct Case {
    uint64_t size;
    size_t limit;
    const char* reason;  // "" when it is read
  };
  const Case cases[] = {
      {10, 10, ""},
      {11, 10, "x is 11 bytes long, more than the 10 bytes the game ever writes there"},
      {65537, 64 << 10, "x is 65537 bytes long, more than the 64 KB"},
      {uint64_t(3) << 30, tbk::readLimit::levelFile, "x is 3221225472 bytes long, more than the 64 MB"},
      {uint64_t(33) << 20, tbk::readLimit::optionsFile, "more than the 32 MB"},
  };
  for (const Case& c : cases) {
    auto error = tbktest::raised([&] { tbk::checkReadLimit("x", c.size, c.limit); });
    EXPECT_EQ(error.reason().empty(), !*c.reason) << c.size;
    if (*c.reason) {
      EXPECT_EQ(error.kind(), TBKException::Kind::Format) << c.size;
    }
    EXPECT_NE(error.reason().find(c.reason), std::string::npos) << c.size << ": " << error.reason();
  }
}

}  // namespace
