#include "WorldReader.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

// A compound "" { Short "id" = -2, List "L" of Byte [1, 255], String "s" = "ab" }.
const std::string sample =
    "\x0a\0\0"                           //
    "\x02\x02\0id\xfe\xff"               //
    "\x09\x01\0L\x01\x02\0\0\0\x01\xff"  //
    "\x08\x01\0s\x02\0ab"                //
    "\0"s;

TEST(WorldReader, ReadsLittleEndianTagsByPathAndRefusesDamage) {
  TestTag root = worldreader::parseNBT(sample);
  EXPECT_EQ(root.number("id"), -2);
  EXPECT_EQ(root.list("L").size(), 2u);
  EXPECT_EQ(root.number("L/1"), -1) << "bytes are signed";
  EXPECT_EQ(root.string("s"), "ab");
  EXPECT_FALSE(root.has("L/2"));
  EXPECT_THROW(root.number("s"), std::runtime_error);

  for (size_t cut = 0; cut < sample.size(); ++cut) {
    EXPECT_THROW(worldreader::parseNBT(std::string_view(sample).substr(0, cut)), std::runtime_error) << cut;
  }
  EXPECT_THROW(worldreader::parseNBT(sample + "x"), std::runtime_error) << "trailing bytes";
}

}  // namespace
