#include <cmath>
#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "Tarnbook/TBKCompoundTag.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace {

struct ReadCase {
  const char* what;
  std::shared_ptr<TBKNumberTag> tag;
  uint8_t unsignedChar;
  int16_t signedShort;
  uint16_t unsignedShort;
  int32_t signedInt;
  bool boolean;
  uint64_t unsignedLongLong;
};

// The screens read item ids and damage as unsigned 16-bit and counts as
// unsigned 8-bit whatever width the game stored them with.
TEST(TBKNumberTest, ReadersKeepTheLowBitsLikeTheGameCode) {
  const ReadCase cases[] = {
      {"byte -1 (a count of 255)", TBKNumberTag::byteTag("", -1), 255, -1, 0xFFFF, -1, true, UINT64_MAX},
      {"short id above 32767", TBKNumberTag::shortTag("", static_cast<int16_t>(40000)), 0x40, -25536, 40000, -25536,
       true, static_cast<uint64_t>(-25536)},
      {"int 300 as a byte", std::make_shared<TBKNumberTag>("", TBKTagType::Byte, TBKNumber::integer(300)), 44, 44, 44,
       44, true, 44},
      {"int 65536", TBKNumberTag::intTag("", 65536), 0, 0, 0, 65536, true, 65536},
      {"zero", TBKNumberTag::intTag("", 0), 0, 0, 0, 0, false, 0},
      {"long 2^40+7", TBKNumberTag::longTag("", (1LL << 40) + 7), 7, 7, 7, 7, true, (1ULL << 40) + 7},
      {"float 2.9 truncates", TBKNumberTag::floatTag("", 2.9f), 2, 2, 2, 2, true, 2},
      {"double -1.5 truncates", TBKNumberTag::doubleTag("", -1.5), 255, -1, 0xFFFF, -1, true, UINT64_MAX},
      {"huge double clamps", TBKNumberTag::doubleTag("", 1e300), 255, -1, 0xFFFF, -1, true, INT64_MAX},
      {"NaN reads as 0 but is true", TBKNumberTag::floatTag("", std::nanf("")), 0, 0, 0, 0, true, 0},
      {"fraction is true", TBKNumberTag::floatTag("", 0.25f), 0, 0, 0, 0, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TBKNumber& value = c.tag->value();
    EXPECT_EQ(value.unsignedCharValue(), c.unsignedChar);
    EXPECT_EQ(value.shortValue(), c.signedShort);
    EXPECT_EQ(value.unsignedShortValue(), c.unsignedShort);
    EXPECT_EQ(value.intValue(), c.signedInt);
    EXPECT_EQ(value.boolValue(), c.boolean);
    EXPECT_EQ(value.unsignedLongLongValue(), c.unsignedLongLong);
  }
}

std::vector<std::string> childNames(const TBKCompoundTag& compound) {
  std::vector<std::string> names;
  for (const auto& child : compound.value()) names.emplace_back(child->name());
  return names;
}

TEST(TBKCompoundTagTest, StoringReplacesInPlaceOrAppends) {
  TBKCompoundTag item("");
  item.setValueForKey(TBKNumberTag::byteTag("Slot", 9));
  item.setValueForKey(TBKNumberTag::shortTag("id", 1));
  item.setValueForKey(TBKNumberTag::byteTag("Count", 1));
  item.setValueForKey(TBKNumberTag::shortTag("id", 276));
  item.setObjectForKeyedSubscript(TBKNumberTag::shortTag("whatever", 3), "Damage");
  item.setObjectForKeyedSubscript(TBKNumberTag::byteTag("Count", 5), "Count");

  EXPECT_EQ(childNames(item), (std::vector<std::string>{"Slot", "id", "Count", "Damage"}));
  EXPECT_EQ(item.numberForKey("id").intValue(), 276);
  EXPECT_EQ(item.objectForKeyedSubscript("Damage")->name(), "Damage");
  EXPECT_EQ(item.numberForKey("Count").intValue(), 5);

  item.setObjectForKeyedSubscript(nullptr, "Slot");
  EXPECT_EQ(childNames(item), (std::vector<std::string>{"id", "Count", "Damage"}));
  EXPECT_THROW(item.setValueForKey(nullptr), TBKException);
}

TEST(TBKCompoundTagTest, AbsentOrMistypedChildrenReadAsZeroOrEmpty) {
  TBKCompoundTag level("");
  level.setValueForKey(std::make_shared<TBKStringTag>("GameType", "1"));
  level.setValueForKey(TBKNumberTag::intTag("LevelName", 7));
  EXPECT_EQ(level.objectForKeyedSubscript("SpawnX"), nullptr);
  EXPECT_EQ(level.numberForKey("SpawnX").intValue(), 0);
  EXPECT_EQ(level.numberForKey("GameType").intValue(), 0);
  EXPECT_EQ(level.stringForKey("LevelName"), "");
  EXPECT_EQ(level.stringForKey("Missing"), "");
  EXPECT_EQ(level.compoundForKey("GameType"), nullptr);
  EXPECT_EQ(level.listForKey("Inventory"), nullptr);
}

TEST(TBKListTagTest, IndexedStoresReplaceOrAppend) {
  TBKListTag inventory("Inventory", TBKTagType::End);
  auto first = std::make_shared<TBKCompoundTag>("");
  inventory.setObjectAtIndexedSubscript(first, 0);
  EXPECT_EQ(inventory.elementType(), TBKTagType::Compound);
  inventory.setObjectAtIndexedSubscript(std::make_shared<TBKCompoundTag>(""), 1);
  auto replacement = std::make_shared<TBKCompoundTag>("");
  inventory.setObjectAtIndexedSubscript(replacement, 0);
  EXPECT_EQ(inventory.objectAtIndexedSubscript(0), replacement);
  EXPECT_EQ(inventory.count(), 2u);
}

TEST(TBKTagsTest, EditsKeepOrderOrRefuseChangingNothing) {
  TBKCompoundTag level("");
  for (const char* name : {"Difficulty", "GameType", "Time"}) level.setValueForKey(TBKNumberTag::intTag(name, 1));
  level.renameKey("GameType", "gameType");
  level.insertValueAtIndex(TBKNumberTag::byteTag("keepinventory", 1), 1);
  EXPECT_EQ(childNames(level), (std::vector<std::string>{"Difficulty", "keepinventory", "gameType", "Time"}));
  TBKListTag pos("Pos", TBKTagType::Float);
  for (float x : {1.0f, 3.0f}) pos.setObjectAtIndexedSubscript(TBKNumberTag::floatTag("", x), pos.count());
  pos.insertObjectAtIndex(TBKNumberTag::floatTag("", 2.0f), 1);
  pos.removeObjectAtIndex(0);
  const std::string posBefore = TBKNBT::describe(pos);
  EXPECT_EQ(posBefore, "TAG_List \"Pos\": 2 entries of TAG_Float\n  TAG_Float \"\": 2\n  TAG_Float \"\": 3\n");

  struct Refusal {
    const char* why;
    std::function<void()> call;
  } refusals[] = {
      {"rename onto a taken name", [&] { level.renameKey("Time", "Difficulty"); }},
      {"rename an absent child", [&] { level.renameKey("Weather", "Rain"); }},
      {"insert a taken name", [&] { level.insertValueAtIndex(TBKNumberTag::intTag("Time", 2), 0); }},
      {"insert past the end", [&] { level.insertValueAtIndex(TBKNumberTag::intTag("Rain", 2), 5); }},
      {"insert another type into a list", [&] { pos.insertObjectAtIndex(TBKNumberTag::intTag("", 2), 0); }},
      {"remove past the end", [&] { pos.removeObjectAtIndex(2); }},
      {"store past the end", [&] { pos.setObjectAtIndexedSubscript(TBKNumberTag::floatTag("", 4), 3); }},
      {"read past the end", [&] { pos.objectAtIndexedSubscript(2); }},
      {"store another type into a list", [&] { pos.setObjectAtIndexedSubscript(TBKNumberTag::intTag("", 4), 2); }},
      {"store no tag", [&] { pos.setObjectAtIndexedSubscript(nullptr, 0); }},
      {"entries of mixed types", [] { TBKListTag("x", TBKTagType::Int, {TBKNumberTag::byteTag("", 1)}); }},
  };
  for (const auto& refusal : refusals) {
    SCOPED_TRACE(refusal.why);
    EXPECT_THROW(refusal.call(), TBKException);
  }
  EXPECT_EQ(childNames(level), (std::vector<std::string>{"Difficulty", "keepinventory", "gameType", "Time"}));
  EXPECT_EQ(TBKNBT::describe(pos), posBefore);
}

}  // namespace
