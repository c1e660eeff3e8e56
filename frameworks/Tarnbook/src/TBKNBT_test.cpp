#include "Tarnbook/TBKNBT.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "Tarnbook/TBKByteArrayTag.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKIntArrayTag.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKLongArrayTag.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "TarnbookTestWorld.h"

namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int value : values) out.push_back(static_cast<char>(value));
  return out;
}

using Tags = std::vector<std::shared_ptr<TBKTag>>;

TEST(TBKNBTTest, EveryTagTypeEncodesAsLittleEndianNBT) {
  const struct {
    const char* what;
    std::shared_ptr<TBKTag> tag;
    std::string expected;
  } cases[] = {
      {"byte", TBKNumberTag::byteTag("a", -2), bytes({1, 1, 0, 'a', 0xFE})},
      {"short", TBKNumberTag::shortTag("id", 276), bytes({2, 2, 0, 'i', 'd', 0x14, 0x01})},
      {"int", TBKNumberTag::intTag("Int", -2), bytes({3, 3, 0, 'I', 'n', 't', 0xFE, 0xFF, 0xFF, 0xFF})},
      {"long", TBKNumberTag::longTag("L", 0x0102030405060708LL), bytes({4, 1, 0, 'L', 8, 7, 6, 5, 4, 3, 2, 1})},
      {"float", TBKNumberTag::floatTag("f", 1.5f), bytes({5, 1, 0, 'f', 0, 0, 0xC0, 0x3F})},
      {"double", TBKNumberTag::doubleTag("d", -2.0), bytes({6, 1, 0, 'd', 0, 0, 0, 0, 0, 0, 0, 0xC0})},
      {"byte array", std::make_shared<TBKByteArrayTag>("b", std::vector<int8_t>{1, -1}),
       bytes({7, 1, 0, 'b', 2, 0, 0, 0, 1, 0xFF})},
      {"string", std::make_shared<TBKStringTag>("s", "h\xC3\xA9"), bytes({8, 1, 0, 's', 3, 0, 'h', 0xC3, 0xA9})},
      {"list",
       std::make_shared<TBKListTag>("l", TBKTagType::Short,
                                    Tags{TBKNumberTag::shortTag("", 1), TBKNumberTag::shortTag("", -1)}),
       bytes({9, 1, 0, 'l', 2, 2, 0, 0, 0, 1, 0, 0xFF, 0xFF})},
      {"empty list as the game writes it", std::make_shared<TBKListTag>("l", TBKTagType::End),
       bytes({9, 1, 0, 'l', 0, 0, 0, 0, 0})},
      {"compound",
       [] {
         auto compound = std::make_shared<TBKCompoundTag>("c");
         compound->setValueForKey(TBKNumberTag::byteTag("x", 1));
         return compound;
       }(),
       bytes({10, 1, 0, 'c', 1, 1, 0, 'x', 1, 0})},
      {"int array", std::make_shared<TBKIntArrayTag>("i", std::vector<int32_t>{1, -2}),
       bytes({11, 1, 0, 'i', 2, 0, 0, 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF})},
      {"empty int array", std::make_shared<TBKIntArrayTag>("i", std::vector<int32_t>{}),
       bytes({11, 1, 0, 'i', 0, 0, 0, 0})},
      {"long array", std::make_shared<TBKLongArrayTag>("L", std::vector<int64_t>{-1}),
       bytes({12, 1, 0, 'L', 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(TBKNBT::serialise(*c.tag), c.expected);
    size_t consumed = 0;
    auto parsed = TBKNBT::parse(c.expected, &consumed);
    EXPECT_EQ(consumed, c.expected.size());
    EXPECT_EQ(parsed->type(), c.tag->type());
    EXPECT_EQ(TBKNBT::serialise(*parsed), c.expected);
  }
}

// Trees the game may hold that a naive writer would change: duplicate names,
// NaN payloads, empty lists of any element type, lists of lists, arrays;
// names short and long, and at the very end of the input. The tree owns
// its text: the input is gone before it is written back.
TEST(TBKNBTTest, UntouchedTreesRoundTripByteForByte) {
  float signallingNaN;
  uint32_t nanBits = 0x7F800123;
  std::memcpy(&signallingNaN, &nanBits, sizeof nanBits);
  auto root = std::make_shared<TBKCompoundTag>("");
  root->setValueForKey(TBKNumberTag::floatTag("nan", signallingNaN));
  root->setValueForKey(TBKNumberTag::doubleTag("negativeZero", -0.0));
  root->setValueForKey(std::make_shared<TBKListTag>("emptyListOfIntegers", TBKTagType::Int));
  auto lists = std::make_shared<TBKListTag>("lists", TBKTagType::List);
  lists->setObjectAtIndexedSubscript(std::make_shared<TBKListTag>("", TBKTagType::Compound), 0);
  root->setValueForKey(lists);
  root->setValueForKey(std::make_shared<TBKByteArrayTag>("blocks", std::vector<int8_t>(5000, 7)));
  root->setValueForKey(tbktest::makePlayerTree());
  std::string encoded = TBKNBT::serialise(*root);
  // A duplicate name, which no setter makes but the reader must keep.
  encoded.insert(encoded.size() - 1, bytes({1, 3, 0, 'n', 'a', 'n', 9}));

  std::string input = encoded;
  auto parsed = TBKNBT::parse(input);
  std::fill(input.begin(), input.end(), '\xAA');
  EXPECT_TRUE(TBKNBT::serialise(*parsed) == encoded);
}

// A parsed tree shares its memory among its tags and their children, so a
// tag kept after its tree is dropped must keep that memory, whichever
// thread lets go last, and its children may still grow out of it.
TEST(TBKNBTTest, TagsKeptFromADroppedTreeStayIntact) {
  auto source = tbktest::makePlayerTree();
  std::string sword = TBKNBT::serialise(*source->listForKey("Inventory")->compoundAtIndex(12));
  for (int releasingThreads : {0, 1, 4}) {
    SCOPED_TRACE(std::to_string(releasingThreads) + " releasing threads");
    auto parsed = TBKNBT::parseCompound(TBKNBT::serialise(*source));
    auto kept = parsed->listForKey("Inventory")->compoundAtIndex(12);
    std::vector<std::thread> threads;
    for (int t = 0; t < releasingThreads; ++t) {
      threads.emplace_back([children = parsed->value()]() mutable {
        for (const auto& tag : children) TBKNBT::serialise(*tag);
        children.clear();
      });
    }
    parsed.reset();
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(TBKNBT::serialise(*kept), sword);
    for (int i = 0; i < 9; ++i) kept->setValueForKey(TBKNumberTag::byteTag("added" + std::to_string(i), 1));
    EXPECT_EQ(TBKNBT::parseCompound(TBKNBT::serialise(*kept))->count(), kept->count());
  }
}

void expectRejected(std::string_view input, const char* why) {
  SCOPED_TRACE(why);
  auto error = tbktest::raised([&] { TBKNBT::parse(input); });
  EXPECT_EQ(error.kind(), TBKException::Kind::Format);
  EXPECT_NE(error.reason().find("byte"), std::string::npos) << error.reason();
}

// Each cut ends where memory ends, so a look past it faults.
TEST(TBKNBTTest, EveryTruncationIsRejectedCleanly) {
  std::string encoded = TBKNBT::serialise(*tbktest::makePlayerTree());
  for (size_t length = 0; length < encoded.size(); ++length) {
    tbktest::BytesAtPageEnd cut(std::string_view(encoded).substr(0, length));
    expectRejected(cut.view(), ("cut to " + std::to_string(length)).c_str());
  }
}

TEST(TBKNBTTest, LengthsBeyondTheInputAndUnknownTypesAreRejected) {
  struct Case {
    const char* why;
    std::string input;
  } cases[] = {
      {"list claiming 2^31-1 compounds", bytes({9, 0, 0, 10, 0xFF, 0xFF, 0xFF, 0x7F, 0})},
      {"list with a negative count", bytes({9, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF})},
      {"byte array longer than the input", bytes({7, 0, 0, 0x00, 0x00, 0x10, 0x00, 1, 2, 3})},
      {"int array longer than the input", bytes({11, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0})},
      {"long array with a negative count", bytes({12, 0, 0, 0, 0, 0, 0x80})},
      {"string longer than the input", bytes({8, 0, 0, 0xFF, 0xFF, 'a'})},
      {"name longer than the input", bytes({1, 9, 0, 'a'})},
      {"unknown tag type", bytes({13, 0, 0})},
      {"unknown child type", bytes({10, 0, 0, 0x42, 0, 0, 0})},
      {"unknown list element type", bytes({9, 0, 0, 0x20, 1, 0, 0, 0})},
      {"only an end marker", bytes({0})},
      {"entries in a list of end markers", bytes({9, 0, 0, 0, 1, 0, 0, 0})},
      {"compound without its end", bytes({10, 0, 0, 1, 0, 0, 5})},
  };
  for (const auto& c : cases) expectRejected(c.input, c.why);
}

// depth lists each holding the next, the last empty; or depth compounds.
std::string nested(int depth, bool lists) {
  std::string out = bytes({lists ? 9 : 10, 0, 0});
  for (int i = 1; i < depth; ++i) out += lists ? bytes({9, 1, 0, 0, 0}) : bytes({10, 0, 0});
  return out + (lists ? bytes({0, 0, 0, 0, 0}) : std::string(static_cast<size_t>(depth), '\0'));
}

TEST(TBKNBTTest, NestingIsBoundedAt512Levels) {
  for (bool lists : {false, true}) {
    SCOPED_TRACE(lists ? "lists" : "compounds");
    std::string deepest = nested(TBKNBT::maximumDepth, lists);
    EXPECT_EQ(TBKNBT::serialise(*TBKNBT::parse(deepest)), deepest);
    expectRejected(nested(TBKNBT::maximumDepth + 1, lists), "one level too deep");
    expectRejected(nested(100000, lists), "far too deep");
  }
}

TEST(TBKNBTTest, TagsAreBoundedPerRecord) {
  // A root and `count` more tags: a list (one) of empty compounds, or bytes.
  auto holding = [](size_t count, bool list) {
    std::string out = bytes({10, 0, 0}) + (list ? bytes({9, 0, 0, 10}) + std::string((char*)&--count, 4) : "");
    for (size_t i = 0; i < count; ++i) out += list ? bytes({0}) : bytes({1, 0, 0, 7});
    return out + bytes({0});
  };
  for (bool list : {true, false}) {
    SCOPED_TRACE(list ? "a list of compounds" : "bytes in the root");
    EXPECT_EQ(TBKNBT::parseCompound(holding((1 << 20) - 1, list))->count(), list ? 1u : (1u << 20) - 1);
    expectRejected(holding(1 << 20, list), "one tag too many");
  }
}

TEST(TBKNBTTest, ARecordMustBeExactlyOneCompound) {
  std::string record = TBKNBT::serialise(*tbktest::makePlayerTree());
  EXPECT_NO_THROW(TBKNBT::parseCompound(record));
  EXPECT_THROW(TBKNBT::parseCompound(record + "x"), TBKException);
  EXPECT_THROW(TBKNBT::parseCompound(TBKNBT::serialise(*TBKNumberTag::intTag("", 1))), TBKException);
}

TEST(TBKNBTTest, TreesTheFormatCannotHoldAreRefusedNotWrittenHalfway) {
  auto loop = std::make_shared<TBKCompoundTag>("loop");
  loop->setValueForKey(loop);
  EXPECT_THROW(TBKNBT::serialise(*loop), TBKException);
  loop->removeObjectForKey("loop");  // break the cycle so it is freed

  auto text = std::make_shared<TBKStringTag>("long", std::string(65536, 'x'));
  EXPECT_THROW(TBKNBT::serialise(*text), TBKException);
  EXPECT_NO_THROW(TBKNBT::serialise(TBKStringTag("longest", std::string(65535, 'x'))));
}

}  // namespace
