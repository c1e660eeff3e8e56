#include "LittleEndian.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The bytes are written out by hand: a codec that swapped on the wrong
// machine, or dropped a sign, would still round-trip with itself.
template <typename T>
void expectBytes(T value, std::string bytes) {
  SCOPED_TRACE(testing::PrintToString(value));
  std::string out = "x";
  tbk::appendLittleEndian(out, value);
  EXPECT_EQ(out, "x" + bytes);
  T back = tbk::readLittleEndian<T>(bytes.data());
  EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0);
}

TEST(LittleEndianTest, ValuesAreLowByteFirst) {
  using namespace std::string_literals;
  expectBytes<int8_t>(-1, "\xFF"s);
  expectBytes<uint16_t>(0x1234, "\x34\x12"s);
  expectBytes<int16_t>(-2, "\xFE\xFF"s);
  expectBytes<int32_t>(0x12345678, "\x78\x56\x34\x12"s);
  expectBytes<int32_t>(INT32_MIN, "\x00\x00\x00\x80"s);
  expectBytes<uint32_t>(0xFFFFFFFEu, "\xFE\xFF\xFF\xFF"s);
  expectBytes<int64_t>(-0x0102030405060708, "\xF8\xF8\xF9\xFA\xFB\xFC\xFD\xFE"s);
  expectBytes<float>(1.0f, "\x00\x00\x80\x3F"s);
  expectBytes<double>(-2.5, "\x00\x00\x00\x00\x00\x00\x04\xC0"s);
}

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
