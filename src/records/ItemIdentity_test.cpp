#include "records/ItemIdentity.h"

#include <gtest/gtest.h>

#include "Tarnbook/TBKNBT.h"
#include "WorldReader.h"

namespace {

// An identity goes only into an entry of its own kind, and a new name drops
// the old item's block but keeps every other child where it stands.
TEST(ItemIdentity, IsWrittenOnlyIntoAnEntryOfItsKindKeepingTheChildrenItDoesNotKnow) {
  auto numberedEntry = [] { return ItemIdentity::numbered(5, 2).makeEntry(12, 3); };
  auto namedEntry = [] {
    auto entry = ItemIdentity::named("minecraft:dirt", 0).makeEntry(4, 1);
    entry->setValueForKey(std::make_shared<TBKCompoundTag>("Block"));
    entry->setValueForKey(std::make_shared<TBKCompoundTag>("tag"));
    return entry;
  };
  auto bareEntry = [] {
    auto entry = std::make_shared<TBKCompoundTag>("");
    entry->setValueForKey(TBKNumberTag::byteTag("Count", 1));
    return entry;
  };
  const ItemIdentity number = ItemIdentity::numbered(7, 1), stone = ItemIdentity::named("minecraft:stone", 0);
  const std::string dirt = R"({Count:1b,Damage:0s,Name:"minecraft:dirt",Slot:4b,WasPickedUp:0b,Block:{},tag:{}})";
  struct Case {
    std::shared_ptr<TBKCompoundTag> (*entry)();
    ItemIdentity identity;
    bool written;
    std::string after;
  } cases[] = {
      {numberedEntry, number, true, "{Slot:12b,id:7s,Count:3b,Damage:1s}"},
      {namedEntry, number, false, dirt},
      {numberedEntry, stone, false, "{Slot:12b,id:5s,Count:3b,Damage:2s}"},
      {namedEntry, ItemIdentity::named("minecraft:dirt", 2), true,
       R"({Count:1b,Damage:2s,Name:"minecraft:dirt",Slot:4b,WasPickedUp:0b,Block:{},tag:{}})"},
      {namedEntry, stone, true, R"({Count:1b,Damage:0s,Name:"minecraft:stone",Slot:4b,WasPickedUp:0b,tag:{}})"},
      {bareEntry, stone, true, R"({Count:1b,Name:"minecraft:stone",Damage:0s})"},
      {bareEntry, number, true, "{Count:1b,id:7s,Damage:1s}"},
  };
  for (const Case& c : cases) {
    auto entry = c.entry();
    SCOPED_TRACE(ItemIdentity::of(*entry).idText() + " <- " + c.identity.idText());
    EXPECT_EQ(c.identity.writeTo(*entry), c.written);
    EXPECT_EQ(worldreader::snbt(worldreader::parseNBT(TBKNBT::serialise(*entry))), c.after);
    EXPECT_EQ(ItemIdentity::of(*entry) == c.identity, c.written);
  }
}

}  // namespace
