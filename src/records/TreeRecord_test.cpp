#include "records/TreeRecord.h"

#include <gtest/gtest.h>

#include "Tarnbook/TBKNBT.h"

namespace {

// A tree with a compound, a list inside it, and two children of one name
// (as a damaged file may hold them), written by a commit that counts its
// calls and refuses while `refusing` is set.
struct Fixture {
  std::shared_ptr<TBKCompoundTag> tree = std::make_shared<TBKCompoundTag>("");
  std::shared_ptr<TBKCompoundTag> item = std::make_shared<TBKCompoundTag>("item");
  std::shared_ptr<TBKListTag> list = std::make_shared<TBKListTag>("list", TBKTagType::End);
  int commits = 0;
  bool refusing = false;
  std::string written;
  TreeRecord record{tree, [this](const std::shared_ptr<TBKCompoundTag>& root) {
                      ++commits;
                      if (refusing) throw TBKException(TBKException::Kind::File, "The disk is full.");
                      written = TBKNBT::serialise(*root);
                    }};

  Fixture() {
    item->setValueForKey(TBKNumberTag::shortTag("Damage", 3));
    tree->setValueForKey(item);
    tree->setValueForKey(list);
  }
};

TEST(TreeRecord, ARefusedCommitTakesTheChangeBackIntoTheSameObjectsAndSaysWhy) {
  Fixture f;
  const std::string before = TBKNBT::serialise(*f.tree);
  f.refusing = true;
  struct Case {
    const char* what;
    std::function<Outcome()> change;
  } cases[] = {
      {"an entry's child replaced and one added",
       [&] {
         return f.record.edit(*f.item, [](TBKCompoundTag& e) {
           e.setValueForKey(TBKNumberTag::shortTag("Damage", 0));
           e.setValueForKey(TBKNumberTag::byteTag("Count", 1));
           return true;
         });
       }},
      {"an empty list given entries of a type",
       [&] {
         return f.record.edit(*f.list, [](TBKListTag& l) {
           l.setObjectAtIndexedSubscript(TBKNumberTag::intTag("", 7), 0);
           return true;
         });
       }},
      {"a change with its own revert",
       [&] {
         return f.record.change(
             {[&] { f.tree->removeObjectForKey("item"); }, [&] { f.tree->insertValueAtIndex(f.item, 0); }});
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Outcome outcome = c.change();
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->reason, "The disk is full.");
    EXPECT_EQ(TBKNBT::serialise(*f.tree), before);
    EXPECT_EQ(f.tree->compoundForKey("item"), f.item) << "the screens' pointers still reach the tree";
    EXPECT_EQ(f.tree->listForKey("list"), f.list);
  }
  EXPECT_EQ(f.list->elementType(), TBKTagType::End) << "written back as read";
}

TEST(TreeRecord, AChangeIsWrittenOnceAndAnEditThatChangesNothingNotAtAll) {
  Fixture f;
  EXPECT_EQ(f.record.edit(*f.item, [](TBKCompoundTag&) { return false; }), std::nullopt);
  EXPECT_EQ(f.commits, 0);
  EXPECT_EQ(f.record.edit(*f.item,
                          [](TBKCompoundTag& e) {
                            e.setValueForKey(TBKNumberTag::shortTag("Damage", 9));
                            return true;
                          }),
            std::nullopt);
  EXPECT_EQ(f.commits, 1);
  EXPECT_EQ(f.written, TBKNBT::serialise(*f.tree));
  EXPECT_EQ(f.item->numberForKey("Damage").intValue(), 9);
}

}  // namespace
