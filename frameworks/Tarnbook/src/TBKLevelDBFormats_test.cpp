#include <gtest/gtest.h>

#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKLevelFile.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "TarnbookTestWorld.h"

// The bytes of the game's own worlds, early and of today, as they are read
// and written back.

using tbktest::readFile;

namespace {

class TBKLevelDBFormats : public ::testing::Test {
 protected:
  void SetUp() override { tbktest::writeWorld(sandbox.worldFolder("lake"), "Lakeside Survival", true); }

  tbktest::TestSandbox sandbox;
};

TEST_F(TBKLevelDBFormats, ReadsBlocksOfEitherCompressionAndWritesZlib) {
  // The database the game wrote with raw deflate (id 4), flushed to tables.
  std::string folder = sandbox.worldFolder("lake");
  std::string record = tbktest::readPlayerRecord(folder);
  tbktest::rewriteDatabase(folder, record, 4);
  {
    auto db = TBKLevelDB::dbForWorldNamed("lake");
    EXPECT_EQ(db->player()->listForKey("Inventory")->count(), 45u);
    db->setPlayer(db->player());
  }
  // Reopening turns the write into a table; a reader that knows only zlib
  // (id 2) must still read every block.
  TBKLevelDB(folder, "lake", "").player();
  EXPECT_TRUE(tbktest::readWithOnlyCompressor(folder, 2) == record);
}

// A world of today's game: level.dat of storage version 10, and a player whose
// items are named, with the children today's game adds ("Block", "tag",
// "WasPickedUp"), empty slots, and an add-on's item. Written back unchanged it
// keeps every byte; one edited count changes one byte and nothing else.
std::shared_ptr<TBKCompoundTag> namedItem(int slot, const std::string& name, int8_t count) {
  auto entry = std::make_shared<TBKCompoundTag>("");
  entry->setValueForKey(TBKNumberTag::byteTag("Count", count));
  entry->setValueForKey(TBKNumberTag::shortTag("Damage", 0));
  entry->setValueForKey(std::make_shared<TBKStringTag>("Name", name));
  if (slot >= 0) entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
  entry->setValueForKey(TBKNumberTag::byteTag("WasPickedUp", 0));
  return entry;
}

TEST_F(TBKLevelDBFormats, WorldsOfTodaysGameWithNamedItemsRoundTripByteForByte) {
  std::string folder = sandbox.worldFolder("modern");
  tbktest::writeWorld(folder, "Modern Survival", true, 10);
  {
    auto player = tbktest::makePlayerTree();
    auto inventory = std::make_shared<TBKListTag>("Inventory", TBKTagType::Compound);
    for (int slot = 0; slot < 36; ++slot) {
      auto entry = namedItem(slot, slot % 5 == 4 ? "" : "minecraft:stone", slot % 5 == 4 ? 0 : 12);
      if (slot == 7) {
        auto block = std::make_shared<TBKCompoundTag>("Block");
        block->setValueForKey(std::make_shared<TBKStringTag>("name", "minecraft:cherry_log"));
        auto states = std::make_shared<TBKCompoundTag>("states");
        states->setValueForKey(std::make_shared<TBKStringTag>("pillar_axis", "y"));
        block->setValueForKey(states);
        block->setValueForKey(TBKNumberTag::intTag("version", 18168865));
        entry->setValueForKey(block);
      }
      if (slot == 13) {
        entry = namedItem(slot, "myaddon:ruby_staff", 1);
        auto tag = std::make_shared<TBKCompoundTag>("tag");
        auto lore = std::make_shared<TBKListTag>("Lore", TBKTagType::String);
        lore->setObjectAtIndexedSubscript(std::make_shared<TBKStringTag>("", "Sp\xC3\xA4rkles"), 0);
        tag->setValueForKey(lore);
        tag->setValueForKey(std::make_shared<TBKListTag>("ench", TBKTagType::Compound));
        tag->setValueForKey(TBKNumberTag::longTag("myaddon:mana", -1));
        entry->setValueForKey(tag);
      }
      inventory->setObjectAtIndexedSubscript(entry, inventory->count());
    }
    player->setValueForKey(inventory);
    auto armor = std::make_shared<TBKListTag>("Armor", TBKTagType::Compound);
    for (const char* piece : {"minecraft:turtle_helmet", "", "minecraft:iron_leggings", ""}) {
      armor->setObjectAtIndexedSubscript(namedItem(-1, piece, *piece ? 1 : 0), armor->count());
    }
    player->setValueForKey(armor);
    TBKLevelDB(folder, "modern", "").setPlayer(player);
  }
  std::string level = readFile(folder + "/level.dat");
  ASSERT_GE(level.size(), 8u);
  EXPECT_EQ(level.substr(0, 4), std::string("\x0a\0\0\0", 4));
  std::string record = tbktest::readPlayerRecord(folder);
  // The add-on's entry as it sits in the list: its payload, without the
  // type and empty name that a record's root carries.
  std::string staff =
      TBKNBT::serialise(*TBKLevelDB(folder, "modern", "").player()->listForKey("Inventory")->compoundAtIndex(13))
          .substr(3);
  ASSERT_NE(staff.find("myaddon:ruby_staff"), std::string::npos);
  ASSERT_NE(record.find(staff), std::string::npos);

  {
    auto db = TBKLevelDB::dbForWorldNamed("modern");
    db->setLevelData(db->levelData());
    db->setPlayer(db->player());
    EXPECT_EQ(db->storageVersion(), 10);
  }
  EXPECT_TRUE(readFile(folder + "/level.dat") == level);
  EXPECT_TRUE(tbktest::readPlayerRecord(folder) == record);

  // As an editor changes another slot's count.
  {
    auto db = TBKLevelDB::dbForWorldNamed("modern");
    auto player = db->player();
    player->listForKey("Inventory")->compoundAtIndex(3)->setValueForKey(TBKNumberTag::byteTag("Count", 13));
    db->setPlayer(player);
  }
  std::string edited = tbktest::readPlayerRecord(folder);
  ASSERT_EQ(edited.size(), record.size());
  size_t differing = 0;
  for (size_t i = 0; i < record.size(); ++i) differing += record[i] != edited[i];
  EXPECT_EQ(differing, 1u);
  EXPECT_NE(edited.find(staff), std::string::npos);
}

}  // namespace
