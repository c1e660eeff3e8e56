#include "tree/TagTreeRows.h"

#include <gtest/gtest.h>

namespace {

// A level in the shape of today's: game rules beside nested compounds and a
// list of compounds.
std::shared_ptr<TBKCompoundTag> level() {
  auto root = std::make_shared<TBKCompoundTag>("");
  root->setValueForKey(TBKNumberTag::intTag("Difficulty", 2));
  auto abilities = std::make_shared<TBKCompoundTag>("abilities");
  abilities->setValueForKey(TBKNumberTag::byteTag("mayfly", 0));
  abilities->setValueForKey(TBKNumberTag::floatTag("walkSpeed", 0.1f));
  root->setValueForKey(abilities);
  auto items = std::make_shared<TBKListTag>("Items", TBKTagType::Compound);
  for (const char* name : {"minecraft:stone", "minecraft:Diamond_sword"}) {
    auto item = std::make_shared<TBKCompoundTag>("");
    item->setValueForKey(std::make_shared<TBKStringTag>("Name", name));
    items->setObjectAtIndexedSubscript(item, items->count());
  }
  root->setValueForKey(items);
  root->setValueForKey(TBKNumberTag::byteTag("keepinventory", 0));
  return root;
}

// "depth name", a list entry by its index, "+" or "-" for closed or open.
std::vector<std::string> shown(const TagTreeRows& rows) {
  std::vector<std::string> out;
  for (const auto& row : rows.rows()) {
    std::string name =
        row.parent->type() == TBKTagType::List ? std::to_string(row.index) : std::string(row.tag->name());
    bool container = row.tag->type() == TBKTagType::Compound || row.tag->type() == TBKTagType::List;
    out.push_back(std::to_string(row.depth) + " " + name + (container ? (row.open ? " -" : " +") : ""));
  }
  return out;
}

using Rows = std::vector<std::string>;

TEST(TagTreeRowsTest, OpeningAndClosingSpliceTheSameRowsARebuildMakes) {
  TagTreeRows rows(level());
  EXPECT_EQ(shown(rows), (Rows{"0 Difficulty", "0 abilities +", "0 Items +", "0 keepinventory"}));
  rows.setOpen(2, true);
  rows.setOpen(3, true);
  Rows open = {"0 Difficulty", "0 abilities +", "0 Items -", "1 0 -", "2 Name", "1 1 +", "0 keepinventory"};
  EXPECT_EQ(shown(rows), open);
  rows.rebuild();
  EXPECT_EQ(shown(rows), open);
  // Closing the list hides its open entry; opening it again shows it open.
  rows.setOpen(2, false);
  EXPECT_EQ(shown(rows), (Rows{"0 Difficulty", "0 abilities +", "0 Items +", "0 keepinventory"}));
  rows.setOpen(2, true);
  EXPECT_EQ(shown(rows), open);
  EXPECT_EQ(rows.parentRow(4), 3u);
  EXPECT_EQ(rows.parentRow(2), rows.rows().size());
}

TEST(TagTreeRowsTest, SearchKeepsMatchesAndTheWayDownToThem) {
  TagTreeRows rows(level());
  struct Case {
    const char* search;
    Rows expected;
  } cases[] = {
      {"SPEED", {"0 abilities -", "1 walkSpeed"}},
      {"diamond", {"0 Items -", "1 1 -", "2 Name"}},
      {"2", {"0 Difficulty"}},
      {"abilities", {"0 abilities +"}},
      {"nothing", {}},
      {"", {"0 Difficulty", "0 abilities +", "0 Items +", "0 keepinventory"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.search);
    rows.setSearch(c.search);
    EXPECT_EQ(shown(rows), c.expected);
  }
}

}  // namespace
