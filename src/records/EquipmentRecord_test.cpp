// The equipment rules over a player tree in memory whose commit keeps what
// it was given, shown as SNBT by the tests' own reader.
#include "records/EquipmentRecord.h"

#include <gtest/gtest.h>

#include "Tarnbook/TBKNBT.h"
#include "WorldReader.h"
#include "records/ItemIdentity.h"

namespace {

using Entries = std::vector<std::shared_ptr<TBKTag>>;

// A player holding `list` (or nothing), and what was written of it.
struct Player {
  std::shared_ptr<TBKCompoundTag> tree = std::make_shared<TBKCompoundTag>("");
  std::vector<std::string> writes;
  EquipmentRecord record{std::make_shared<TreeRecord>(
      tree, [this](const std::shared_ptr<TBKCompoundTag>& root) { writes.push_back(TBKNBT::serialise(*root)); })};
  std::string before;

  explicit Player(const std::shared_ptr<TBKListTag>& list) {
    if (list) tree->setValueForKey(list);
    before = TBKNBT::serialise(*tree);
  }
  // The one write's tag at `path`; "" when nothing was written.
  std::string written(const char* path = "") const {
    EXPECT_LE(writes.size(), 1u);
    EXPECT_EQ(TBKNBT::serialise(*tree), writes.empty() ? before : writes.back()) << "the tree is the one stored";
    return writes.empty() ? "" : worldreader::snbt(*worldreader::parseNBT(writes.back()).find(path));
  }
};

std::shared_ptr<TBKListTag> list(const std::string& key, const Entries& entries) {
  return std::make_shared<TBKListTag>(key, TBKTagType::Compound, entries);
}
std::shared_ptr<TBKTag> item(uint16_t id, uint16_t damage = 0) {
  return ItemIdentity::numbered(id, damage).makeEntry(-1, 1);
}
// An entry of today's kind holding only a name and a slot.
std::shared_ptr<TBKTag> slot(const std::string& name, int8_t number) {
  auto entry = std::make_shared<TBKCompoundTag>("");
  entry->setValueForKey(std::make_shared<TBKStringTag>("Name", name));
  entry->setValueForKey(TBKNumberTag::byteTag("Slot", number));
  return entry;
}

TEST(EquipmentRecord, ThePlusButtonAddsAStoneWhereTheListHasRoomAndSaysWhenItHasNone) {
  const std::string noRoom = "There is no empty slot to put a new item in.";
  struct Case {
    const char* what;
    std::shared_ptr<TBKListTag> list;
    size_t capacity;     // a box's slots; 0: the list is the player's "Inventory"
    const char* path;    // where the one write is shown
    std::string result;  // what it shows, or the refusal's reason; "": nothing written
  } cases[] = {
      {"early, none", nullptr, 0, "", "{Inventory:[{Slot:0b,id:1s,Count:1b,Damage:0s}]}"},
      {"early", list("Inventory", Entries(2, item(5))), 0, "Inventory/2", "{Slot:2b,id:1s,Count:1b,Damage:0s}"},
      {"early, last slot", list("Inventory", Entries(255, item(5))), 0, "Inventory/255",
       "{Slot:-1b,id:1s,Count:1b,Damage:0s}"},
      {"early, full", list("Inventory", Entries(256, item(5))), 0, "", noRoom},
      {"named, the first empty slot in grid order", list("Inventory", {slot("a", 2), slot("", 1), slot("", 0)}), 0,
       "Inventory/2", R"({Name:"minecraft:stone",Slot:0b,Damage:0s,Count:1b})"},
      {"named, full", list("Inventory", {slot("a", 0)}), 0, "", noRoom},
      {"box, its lowest free slot", list("Items", {slot("a", 2), slot("b", 0), slot("c", 9)}), 4, "Items/3",
       R"({Count:1b,Damage:0s,Name:"minecraft:stone",Slot:1b,WasPickedUp:0b})"},
      {"a list of numbers",
       std::make_shared<TBKListTag>("Inventory", TBKTagType::Int, Entries{TBKNumberTag::intTag("", 1)}), 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Player p(c.list);
    Outcome outcome = c.capacity ? p.record.addItem(c.list, "", c.capacity) : p.record.addItem(nullptr, "Inventory", 0);
    EXPECT_EQ(outcome ? outcome->reason + p.written() : p.written(c.path), c.result);
  }
}

TEST(EquipmentRecord, APieceOfArmorIsWrittenInThePlayersKindIntoAListFilledUpToIt) {
  const std::string none = "{id:0s,Count:0b,Damage:0s}";
  struct Case {
    const char* what;
    std::shared_ptr<TBKListTag> list;
    size_t piece;
    uint16_t id;
    const char* name;
    std::string written;  // "": nothing
  } cases[] = {
      {"numbered", list("Armor", {item(306, 12), item(307, 3)}), 1, 299, "",
       "{Armor:[{id:306s,Count:1b,Damage:12s},{id:299s,Count:1b,Damage:0s}]}"},
      {"numbered, nothing", list("Armor", {item(306, 12)}), 0, 0, "", "{Armor:[{id:0s,Count:1b,Damage:0s}]}"},
      {"named, nothing", list("Armor", {slot("a", 0)}), 0, 306, "",
       R"({Armor:[{Name:"",Slot:0b,Damage:0s,Count:0b}]})"},
      {"numbered, short", list("Armor", {item(306)}), 2, 312, "",
       "{Armor:[{id:306s,Count:1b,Damage:0s}," + none + ",{id:312s,Count:1b,Damage:0s}]}"},
      {"named by the inventory, none", list("Inventory", {slot("a", 0)}), 1, 307, "minecraft:iron_chestplate",
       R"({Inventory:[{Name:"a",Slot:0b}],Armor:[{Count:0b,Damage:0s,Name:"",WasPickedUp:0b},)"
       R"({Count:1b,Damage:0s,Name:"minecraft:iron_chestplate",WasPickedUp:0b}]})"},
      {"an entry of the other kind", list("Armor", {slot("a", 0), item(307)}), 1, 299, "minecraft:leather_chestplate",
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Player p(c.list);
    EXPECT_EQ(p.record.wearArmor(c.piece, c.id, c.name), std::nullopt);
    EXPECT_EQ(p.written(), c.written);
  }
}

}  // namespace
