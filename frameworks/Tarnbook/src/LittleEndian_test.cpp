#include "LittleEndian.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Single values are pinned down byte for byte, every width, through the NBT
// encoding table, which holds every value the game's files use.
TEST(LittleEndianTest, ArraysReadAndWriteEveryEntryInOrder) {
  using namespace std::string_literals;
  const std::string bytes = "\x01\x00\x00\x00\xFF\xFF\xFF\xFF\x00\x01\x00\x00"s;
  std::vector<int32_t> values(3);
  tbk::readLittleEndian(bytes.data(), values.data(), values.size());
  EXPECT_EQ(values, (std::vector<int32_t>{1, -1, 256}));

  std::string out;
  tbk::appendLittleEndian(out, values.data(), values.size());
  EXPECT_EQ(out, bytes);

  // An empty array touches nothing, not even a null pointer.
  tbk::readLittleEndian<int64_t>(nullptr, nullptr, 0);
  tbk::appendLittleEndian<int64_t>(out, nullptr, 0);
  EXPECT_EQ(out, bytes);
}

}  // namespace
