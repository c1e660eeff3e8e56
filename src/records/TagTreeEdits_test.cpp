// The tag tree's edits over a tree in memory whose commit is the test's:
// what each writes, checked with the tests' own reader, what each refuses,
// and what a refused commit leaves.
#include "records/TagTreeEdits.h"

#include <bit>
#include <functional>

#include <gtest/gtest.h>

#include "Tarnbook/TBKNBT.h"
#include "WorldReader.h"

namespace {

using worldreader::littleEndian;
using Place = TagTreeEdits::Place;

// One tag of most types, a float whose NaN payload must survive, a list of
// compounds, an empty list, a list of numbers, a compound of rules and a damaged compound
// holding two tags named "a". The commit keeps the bytes it was given and
// refuses while `refusing` is set.
struct Fixture {
  std::shared_ptr<TBKCompoundTag> tree = std::make_shared<TBKCompoundTag>("");
  std::shared_ptr<TBKListTag> items = std::make_shared<TBKListTag>("Items", TBKTagType::Compound);
  std::shared_ptr<TBKListTag> empty = std::make_shared<TBKListTag>("empty", TBKTagType::End);
  std::shared_ptr<TBKListTag> pos = std::make_shared<TBKListTag>(
      "pos", TBKTagType::Int,
      std::vector<std::shared_ptr<TBKTag>>{TBKNumberTag::intTag("", 1), TBKNumberTag::intTag("", 2)});
  std::shared_ptr<TBKCompoundTag> rules = std::make_shared<TBKCompoundTag>("rules");
  std::shared_ptr<TBKCompoundTag> damaged =
      TBKNBT::parseCompound(std::string("\x0a\0\0\x01\x01\0a\x05\x01\x01\0a\x06\0", 14));
  int commits = 0;
  bool refusing = false;
  std::string written;
  TreeRecord record{tree, [this](const std::shared_ptr<TBKCompoundTag>& root) {
                      if (refusing) throw TBKException(TBKException::Kind::File, "The disk is full.");
                      ++commits;
                      written = TBKNBT::serialise(*root);
                    }};

  Fixture() {
    tree->setValueForKey(TBKNumberTag::byteTag("b", 5));
    tree->setValueForKey(TBKNumberTag::shortTag("s", 300));
    tree->setValueForKey(TBKNumberTag::intTag("i", 70000));
    tree->setValueForKey(TBKNumberTag::longTag("l", 1LL << 40));
    tree->setValueForKey(TBKNumberTag::floatTag("f", 0.1f));
    tree->setValueForKey(TBKNumberTag::floatTag("nan", std::bit_cast<float>(0x7fc00123u)));
    tree->setValueForKey(std::make_shared<TBKStringTag>("str", "stone"));
    tree->setValueForKey(std::make_shared<TBKIntArrayTag>("ia", std::vector<int32_t>{3}));
    for (int8_t slot = 0; slot < 4; ++slot) {
      auto item = std::make_shared<TBKCompoundTag>("");
      item->setValueForKey(TBKNumberTag::byteTag("Slot", slot));
      items->setObjectAtIndexedSubscript(item, items->count());
    }
    tree->setValueForKey(items);
    tree->setValueForKey(empty);
    tree->setValueForKey(pos);
    rules->setValueForKey(TBKNumberTag::byteTag("keepinventory", 0));
    tree->setValueForKey(rules);
    tree->setObjectForKeyedSubscript(damaged, "damaged");
  }
  Place top(std::string_view name) const { return {.parent = tree.get(), .index = tree->indexOfKey(name)}; }
  TestTag onDisk() const { return worldreader::parseNBT(written); }
};

std::vector<std::string> names(const TestTag& compound) {
  std::vector<std::string> out;
  for (const auto& child : compound.children) out.push_back(child.name);
  return out;
}

// Each type's text and bytes are TagValueText's; here the edit of a fixed
// size, one of variable size, one in a list's compound and one of a list's
// own entries, each one commit.
TEST(TagTreeEdits, AValueEditWritesExactlyItsNewValue) {
  Fixture f;
  struct Case {
    const char* path;
    Place place;
    const char* typed;
    std::string payload;
  } cases[] = {
      {"l", f.top("l"), "-4294967296", littleEndian(-4294967296LL, 8)},
      {"str", f.top("str"), "é§", littleEndian(4, 2) + "é§"},
      {"ia", f.top("ia"), "7 8", littleEndian(2, 4) + littleEndian(7, 4) + littleEndian(8, 4)},
      {"Items/2/Slot", {.parent = f.items->compoundAtIndex(2).get(), .index = 0}, "9", littleEndian(9, 1)},
      {"pos/1", {.parent = f.pos.get(), .index = 1}, "-3", littleEndian(-3, 4)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::string before = TBKNBT::serialise(*f.tree);
    int commits = f.commits;
    EXPECT_EQ(TagTreeEdits::setValue(f.record, c.place, c.typed), std::nullopt);
    EXPECT_EQ(f.commits, commits + 1);
    EXPECT_EQ(f.written, worldreader::withPayload(before, c.path, c.payload));
  }
}

TEST(TagTreeEdits, RenamingAddingAndRemovingKeepTheOtherTagsInOrder) {
  Fixture f;
  auto topNames = names(worldreader::parseNBT(TBKNBT::serialise(*f.tree)));

  ASSERT_EQ(TagTreeEdits::rename(f.record, f.top("s"), "short"), std::nullopt);
  topNames[1] = "short";
  EXPECT_EQ(names(f.onDisk()), topNames);
  EXPECT_EQ(f.onDisk().number("short"), 300);

  ASSERT_EQ(TagTreeEdits::addChild(f.record, *f.rules, TBKTagType::Long, "spawnradius"), std::nullopt);
  EXPECT_EQ(names(*f.onDisk().find("rules")), (std::vector<std::string>{"keepinventory", "spawnradius"}));
  EXPECT_EQ(f.onDisk().find("rules/spawnradius")->type, TestTag::Long);

  ASSERT_EQ(TagTreeEdits::addEntry(f.record, *f.empty, TBKTagType::Long), std::nullopt);
  EXPECT_EQ(f.onDisk().find("empty")->elementType, TestTag::Long);
  EXPECT_EQ(f.onDisk().list("empty").size(), 1u);
  ASSERT_EQ(TagTreeEdits::addEntry(f.record, *f.items, TBKTagType::Compound), std::nullopt);
  EXPECT_TRUE(f.onDisk().list("Items").at(4).children.empty());

  ASSERT_EQ(TagTreeEdits::remove(f.record, {.parent = f.items.get(), .index = 1}), std::nullopt);
  ASSERT_EQ(TagTreeEdits::remove(f.record, f.top("b")), std::nullopt);
  std::vector<int64_t> slots;
  const TestTag after = f.onDisk();
  for (const auto& item : after.list("Items")) slots.push_back(item.has("Slot") ? item.number("Slot") : -1);
  EXPECT_EQ(slots, (std::vector<int64_t>{0, 2, 3, -1}));
  EXPECT_FALSE(after.has("b"));
  EXPECT_EQ(f.commits, 6);
}

TEST(TagTreeEdits, RefusedOrUnchangedEditsWriteNothing) {
  Fixture f;
  const std::string before = TBKNBT::serialise(*f.tree);
  const std::string shared =
      "The compound holds more than one tag named \"a\": they are left as they are, since a change could reach the "
      "wrong one.";
  const std::string taken = "\"i\" is taken: the compound already holds a tag of that name.";
  const Place second = {.parent = f.damaged.get(), .index = 1};
  struct Case {
    const char* what;
    std::function<Outcome()> edit;
    std::optional<std::string> reason;
  } cases[] = {
      {"text the type cannot hold", [&] { return TagTreeEdits::setValue(f.record, f.top("b"), "128"); },
       "128 is outside the range of a byte, -128 to 127."},
      // Shown as they are stored: the float is not re-rounded, nor the NaN's payload lost.
      {"a float as shown", [&] { return TagTreeEdits::setValue(f.record, f.top("f"), "0.1"); }, std::nullopt},
      {"a NaN as shown", [&] { return TagTreeEdits::setValue(f.record, f.top("nan"), "nan"); }, std::nullopt},
      {"a name as it is", [&] { return TagTreeEdits::rename(f.record, f.top("s"), "s"); }, std::nullopt},
      {"a taken name", [&] { return TagTreeEdits::rename(f.record, f.top("s"), "i"); }, taken},
      {"a new tag's taken name", [&] { return TagTreeEdits::addChild(f.record, *f.tree, TBKTagType::Int, "i"); },
       taken},
      {"a new tag without a name", [&] { return TagTreeEdits::addChild(f.record, *f.tree, TBKTagType::Int, ""); },
       "A new tag needs a name."},
      {"a list entry renamed", [&] { return TagTreeEdits::rename(f.record, {.parent = f.items.get()}, "x"); },
       "Entries of a list have no names: only tags in a compound can be renamed."},
      {"a shared name's value", [&] { return TagTreeEdits::setValue(f.record, second, "1"); }, shared},
      {"a shared name renamed", [&] { return TagTreeEdits::rename(f.record, second, "b"); }, shared},
      {"a shared name removed", [&] { return TagTreeEdits::remove(f.record, second); }, shared},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Outcome outcome = c.edit();
    EXPECT_EQ(outcome ? std::optional(outcome->reason) : std::nullopt, c.reason);
  }
  EXPECT_EQ(f.commits, 0);
  EXPECT_EQ(TBKNBT::serialise(*f.tree), before);
  EXPECT_EQ(TagTreeEdits::refusalToChange(f.top("damaged")), std::nullopt) << "a compound holding them is not one";
}

TEST(TagTreeEdits, ARefusedCommitTakesEachEditBackIntoTheSameObjects) {
  Fixture f;
  const std::string before = TBKNBT::serialise(*f.tree);
  const auto item = f.items->value().at(1);
  f.refusing = true;
  struct Case {
    const char* what;
    std::function<Outcome()> edit;
  } cases[] = {
      {"a value", [&] { return TagTreeEdits::setValue(f.record, f.top("i"), "5"); }},
      {"a list entry's value",
       [&] { return TagTreeEdits::setValue(f.record, {.parent = f.pos.get(), .index = 1}, "7"); }},
      {"a rename", [&] { return TagTreeEdits::rename(f.record, f.top("s"), "short"); }},
      {"a new child", [&] { return TagTreeEdits::addChild(f.record, *f.rules, TBKTagType::String, "motd"); }},
      {"an empty list's type chosen", [&] { return TagTreeEdits::addEntry(f.record, *f.empty, TBKTagType::Long); }},
      {"a compound's child removed", [&] { return TagTreeEdits::remove(f.record, f.top("rules")); }},
      {"a list's entry removed", [&] { return TagTreeEdits::remove(f.record, {.parent = f.items.get(), .index = 1}); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Outcome outcome = c.edit();
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->reason, "The disk is full.");
    EXPECT_EQ(TBKNBT::serialise(*f.tree), before);
    // The screen's pointers into the tree still reach it.
    EXPECT_EQ(f.tree->listForKey("empty"), f.empty);
    EXPECT_EQ(f.tree->compoundForKey("rules"), f.rules);
    EXPECT_EQ(f.items->value().at(1), item);
  }
  EXPECT_EQ(f.empty->elementType(), TBKTagType::End) << "written back as read";
}

}  // namespace
