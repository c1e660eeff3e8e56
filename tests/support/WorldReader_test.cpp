#include "WorldReader.h"

#include <gtest/gtest.h>

namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(char(v));
  return out;
}

// A compound "" { Short "id" = -2, List "L" of Byte [1, 255], String "s" = "ab" }.
const std::string sample = bytes({10, 0, 0,                                         //
                                  2,  2, 0, 'i', 'd', 0xFE, 0xFF,                   //
                                  9,  1, 0, 'L', 1,   2,    0,    0,   0, 1, 0xFF,  //
                                  8,  1, 0, 's', 2,   0,    'a',  'b',              //
                                  0});

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
