#include "records/TagValueText.h"

#include <bit>
#include <cstring>

#include <gtest/gtest.h>

#include "Tarnbook/TBKNBT.h"

namespace {

// The bytes the library writes for a tag's value (its encoding after type
// and name): what a typed value must come to.
std::string payload(const TBKTag& tag) {
  std::string whole = TBKNBT::serialise(tag);
  return whole.substr(3 + tag.name().size());
}

TEST(TagValueTextTest, TypedValuesBecomeExactlyTheirTypesBytes) {
  struct Case {
    TBKTagType type;
    const char* text;
    std::string bytes;
    const char* shownAfter;
  } cases[] = {
      {TBKTagType::Byte, " +127 ", "\x7f", "127"},
      {TBKTagType::Int, "2147483647", "\xff\xff\xff\x7f", "2147483647"},
      {TBKTagType::Short, "-2", "\xfe\xff", "-2"},
      {TBKTagType::Long, "-9223372036854775808", std::string("\0\0\0\0\0\0\0\x80", 8), "-9223372036854775808"},
      {TBKTagType::Float, "0.1", "\xcd\xcc\xcc\x3d", "0.1"},
      {TBKTagType::Float, "-inf", std::string("\0\0\x80\xff", 4), "-inf"},
      {TBKTagType::Double, "2.5", std::string("\0\0\0\0\0\0\x04\x40", 8), "2.5"},
      {TBKTagType::String, "Pierre §6é",
       std::string("\x0c\x00Pierre \xc2\xa7"
                   "6\xc3\xa9",
                   14),
       "Pierre §6é"},
      {TBKTagType::ByteArray, "1, -2 3", std::string("\x03\0\0\0\x01\xfe\x03", 7), "1, -2, 3"},
      {TBKTagType::ByteArray, "", std::string("\0\0\0\0", 4), ""},
      {TBKTagType::IntArray, "7,,8", std::string("\x02\0\0\0\x07\0\0\0\x08\0\0\0", 12), "7, 8"},
      {TBKTagType::LongArray, "-1", std::string("\x01\0\0\0\xff\xff\xff\xff\xff\xff\xff\xff", 12), "-1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto parsed = TagValueText::parse(c.type, "x", c.text);
    ASSERT_TRUE(parsed.tag) << parsed.reason;
    EXPECT_EQ(parsed.tag->name(), "x");
    EXPECT_EQ(payload(*parsed.tag), c.bytes);
    EXPECT_EQ(TagValueText::valueText(*parsed.tag), c.shownAfter);
  }
}

TEST(TagValueTextTest, TextTheTypeCannotHoldIsRefusedWithAReason) {
  struct Case {
    TBKTagType type;
    std::string text;
    const char* reason;
  } cases[] = {
      {TBKTagType::Byte, "128", "128 is outside the range of a byte, -128 to 127."},
      {TBKTagType::Byte, "12abc", "\"12abc\" is not a whole number."},
      {TBKTagType::Short, "40000", "40000 is outside the range of a short, -32768 to 32767."},
      {TBKTagType::Int, "1.5", "\"1.5\" is not a whole number."},
      {TBKTagType::Int, "", "\"\" is not a whole number."},
      {TBKTagType::Long, "9223372036854775808",
       "9223372036854775808 is outside the range of a long, "
       "-9223372036854775808 to 9223372036854775807."},
      {TBKTagType::Float, "1e39", "1e39 is outside the range of a float."},
      {TBKTagType::Double, "two", "\"two\" is not a number."},
      {TBKTagType::ByteArray, "1 300", "Entry 1: 300 is outside the range of a byte, -128 to 127."},
      {TBKTagType::IntArray, "1;2", "Entry 0: \"1;2\" is not a whole number."},
      {TBKTagType::String, std::string(65536, 'a'), "The text is 65536 bytes long; a string holds at most 65535."},
      {TBKTagType::Compound, "1", "A compound is not typed in: open it and edit its entries."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 20));
    auto parsed = TagValueText::parse(c.type, "x", c.text);
    EXPECT_EQ(parsed.tag, nullptr);
    EXPECT_EQ(parsed.reason, c.reason);
  }
}

TEST(TagValueTextTest, AFloatShownAndReadBackKeepsItsBits) {
  // Shortest round-trip text: these would change under a fixed precision.
  for (uint32_t bits : {0x3dcccccdu, 0x00000001u, 0x7f7fffffu, 0x80000000u, 0x3eaaaaabu}) {
    auto tag = TBKNumberTag::floatTag("f", std::bit_cast<float>(bits));
    auto back = TagValueText::parse(TBKTagType::Float, "f", TagValueText::valueText(*tag));
    ASSERT_TRUE(back.tag) << back.reason;
    EXPECT_EQ(payload(*back.tag), payload(*tag)) << TagValueText::valueText(*tag);
  }
  auto d = TBKNumberTag::doubleTag("d", 0.1 + 0.2);
  EXPECT_EQ(payload(*TagValueText::parse(TBKTagType::Double, "d", TagValueText::valueText(*d)).tag), payload(*d));
}

TEST(TagValueTextTest, TypesAndCountsAreShortWords) {
  TBKListTag inventory("Inventory", TBKTagType::Compound, {std::make_shared<TBKCompoundTag>("")});
  TBKListTag empty("Effects", TBKTagType::End);
  TBKByteArrayTag big("Blocks", std::vector<int8_t>(100000, 7));
  EXPECT_EQ(TagValueText::typeName(inventory), "list of compound");
  EXPECT_EQ(TagValueText::typeName(empty), "list");
  EXPECT_EQ(TagValueText::valueText(inventory), "1 entry");
  EXPECT_EQ(TagValueText::valueText(empty), "0 entries");
  EXPECT_EQ(TagValueText::valueText(big, 10), "7, 7, 7, 7...");
  EXPECT_EQ(TagValueText::valueText(TBKStringTag("s", "§§§"), 3), "§...");
}

}  // namespace
