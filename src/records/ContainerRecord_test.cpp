#include "records/ContainerRecord.h"

#include <algorithm>

#include <gtest/gtest.h>
#include <leveldb/write_batch.h>

#include "ContainerWorld.h"
#include "GameDatabase.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "TarnbookTestWorld.h"
#include "WorldReader.h"
#include "records/ContainerList.h"
#include "records/ItemFinder.h"

namespace {

using Dimension = TBKChunkKey::Dimension;

class ContainerRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tbktest::writeContainerWorld(folder);
    db = TBKLevelDB::dbForWorldNamed("chests");
    listing = ContainerList::list(*db);
  }

  const ContainerSummary& at(int x, int y, int z) const {
    for (const auto& container : listing.containers) {
      if (container.position().x == x && container.position().y == y && container.position().z == z) return container;
    }
    throw std::runtime_error("no container at " + std::to_string(x));
  }

  tbktest::TestSandbox sandbox;
  std::string folder = sandbox.worldFolder("chests");
  std::shared_ptr<TBKLevelDB> db;
  ContainerList::Listing listing;
};

std::string rowOf(const ContainerSummary& container) {
  return container.name() + " @" + container.positionText() + " " + std::to_string(container.capacity()) + ": " +
         container.contents();
}

TEST_F(ContainerRecordTest, TheListJoinsDoubleChestsSkipsSignsKeepsAddOnsAndShowsNearestFirstPerDimension) {
  EXPECT_EQ(listing.damaged.count, 1u);
  // Past the first few, damaged records are only counted.
  for (int i = 0; i < 11; ++i) listing.damaged.add("another");
  EXPECT_EQ(std::make_pair(listing.damaged.reasons.size(), listing.damaged.count), std::make_pair(10ul, 12ul));
  std::vector<std::string> rows;
  for (const auto& section : ContainerList::sections(listing.containers, 128.5, -39.5, Dimension::Overworld)) {
    rows.push_back("-- " + std::to_string(int(section.dimension)));
    for (const auto& container : section.containers) rows.push_back(rowOf(container));
  }
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "-- 0", "Chest @36, 64, 1 27: loot not yet generated", "mymod:crate @35, 64, 1 0: empty",
                      "Lectern @34, 64, 1 1: 1 item", "Item Frame @33, 65, 1 1: 1 item", "Hopper @19, 64, 3 5: 1 item",
                      "Furnace @18, 64, 3 3: 3 items", "Loot @17, 64, 3 27: 1 item", "Chest @3, 64, 2 54: 2 items",
                      "Chest @1, 64, 2 27: 2 items", "-- 1", "Chest @5, 40, 5 27: 1 item"}));
}

TEST_F(ContainerRecordTest, TheSearchMatchesNameKindIdDimensionOrPosition) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"NETHER", {"5, 40, 5"}}, {"barrel", {"17, 64, 3"}},  {"loot", {"17, 64, 3"}},
      {"mymod", {"35, 64, 1"}}, {"item fr", {"33, 65, 1"}}, {"64, 2", {"1, 64, 2", "3, 64, 2"}},
      {"nowhere", {}},
  };
  for (const auto& [search, expected] : cases) {
    std::vector<std::string> found;
    for (const auto& section : ContainerList::sections(listing.containers, 0, 0, Dimension::Overworld, search)) {
      for (const auto& container : section.containers) found.push_back(container.positionText());
    }
    EXPECT_EQ(found, expected) << search;
  }
}

// Opening each container and changing one item in its grid: the test
// expects the chunk's record with only that child changed.
TEST_F(ContainerRecordTest, OneItemChangedInTheGridChangesOnlyThatChildOfTheBlockEntity) {
  auto chunks = tbktest::containerChunks();
  struct Case {
    int x, y, z;
    size_t gridSlot;
    std::string inBox;  // the path to the count inside the grid's entry
    size_t chunk, root;
    std::string path;  // the same count in the block entity
  } cases[] = {
      {1, 64, 2, 0, "Count", 0, 0, "Items/0/Count"},
      {3, 64, 2, 28, "Count", 0, 3, "Items/0/Count"},  // the second half of the double chest
      {17, 64, 3, 2, "tag/Items/0/Count", 1, 0, "Items/0/tag/Items/0/Count"},
      {18, 64, 3, 1, "Count", 1, 1, "Items/1/Count"},
      {19, 64, 3, 4, "Count", 1, 2, "Items/0/Count"},
      {33, 65, 1, 0, "Count", 2, 0, "Item/Count"},
      {34, 64, 1, 0, "Count", 2, 1, "book/Count"},
      {5, 40, 5, 3, "Count", 3, 0, "Items/0/Count"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y) + ", " + std::to_string(c.z));
    auto key = chunks[c.chunk].key.bytes();
    std::string before = worldreader::readDatabaseValue(folder, key).value();
    ContainerRecord record(db, at(c.x, c.y, c.z));
    auto items = record.items();
    std::shared_ptr<TBKCompoundTag> entry;
    for (size_t i = 0; i < items->count(); ++i) {
      if (items->compoundAtIndex(i)->numberForKey("Slot").unsignedCharValue() == c.gridSlot) {
        entry = items->compoundAtIndex(i);
      }
    }
    ASSERT_TRUE(entry);
    if (c.inBox != "Count") entry = entry->compoundForKey("tag")->listForKey("Items")->compoundAtIndex(0);
    EXPECT_FALSE(record.record()->edit(*entry, [](TBKCompoundTag& item) {
      item.setValueForKey(TBKNumberTag::byteTag("Count", 42));
      return true;
    }));
    std::string rootBytes = TBKNBT::serialise(*chunks[c.chunk].roots[c.root]);
    std::string expected = before;
    expected.replace(before.find(rootBytes), rootBytes.size(),
                     worldreader::withPayload(rootBytes, c.path, worldreader::littleEndian(42, 1)));
    EXPECT_EQ(worldreader::readDatabaseValue(folder, key), expected);
  }
}

TEST_F(ContainerRecordTest, AnUnknownKindIsItsOwnTreeWrittenBackAsTheTreeLeftIt) {
  ContainerRecord crate(db, at(35, 64, 1));
  ASSERT_FALSE(crate.knowsKind());
  EXPECT_FALSE(crate.items());
  auto key = tbktest::chunkKey(2, 0).bytes();
  std::string before = worldreader::readDatabaseValue(folder, key).value();
  EXPECT_FALSE(crate.record()->edit(*crate.record()->tree(), [](TBKCompoundTag&) { return true; }));
  EXPECT_EQ(worldreader::readDatabaseValue(folder, key), before) << "nothing changed: nothing written";
  EXPECT_FALSE(crate.record()->edit(*crate.record()->tree(), [](TBKCompoundTag& root) {
    root.setValueForKey(TBKNumberTag::intTag("mymod:fill", 4));
    return true;
  }));
  std::string rootBytes = TBKNBT::serialise(*tbktest::containerChunks()[2].roots[2]);
  std::string expected = before;
  expected.replace(before.find(rootBytes), rootBytes.size(),
                   worldreader::withPayload(rootBytes, "mymod:fill", worldreader::littleEndian(4, 4)));
  EXPECT_EQ(worldreader::readDatabaseValue(folder, key), expected);
}

TEST_F(ContainerRecordTest, AChangeOverAContainerChangedSinceItWasOpenedIsRefusedAndTakenBack) {
  ContainerRecord first(db, at(1, 64, 2)), second(db, at(1, 64, 2));
  auto setCount = [](int count) {
    return [count](TBKCompoundTag& item) {
      item.setValueForKey(TBKNumberTag::byteTag("Count", static_cast<int8_t>(count)));
      return true;
    };
  };
  ASSERT_FALSE(first.record()->edit(*first.items()->compoundAtIndex(0), setCount(20)));
  auto stored = worldreader::readDatabaseValue(folder, tbktest::chunkKey(0, 0).bytes());
  Outcome refused = second.record()->edit(*second.items()->compoundAtIndex(0), setCount(30));
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->reason,
            "The block entities of chunk 0, 0 cannot be changed: the block entity changed since it "
            "was read; open it again.");
  EXPECT_EQ(second.items()->compoundAtIndex(0)->numberForKey("Count").intValue(), 12);
  EXPECT_EQ(worldreader::readDatabaseValue(folder, tbktest::chunkKey(0, 0).bytes()), stored);
}

TEST_F(ContainerRecordTest, FindListsEveryPlaceAnItemLiesBoxesAndEnderChestsIncluded) {
  // A damaged player beside the world's damaged block entities: both are
  // passed over and told.
  db.reset();
  gamedatabase::open(folder + "/db")->Put(leveldb::WriteOptions(), "player_server_damaged", "\x0a\x00");
  db = TBKLevelDB::dbForWorldNamed("chests");
  std::vector<std::string> places;
  DamagedRecords damaged;
  for (const auto& found :
       ItemFinder().find(*db, ItemIdentity::named("minecraft:elytra", 0), nullptr, nullptr, &damaged)) {
    places.push_back(found.where() + " x" + std::to_string(found.count));
  }
  EXPECT_EQ(places, (std::vector<std::string>{"the local player's ender chest, slot 1 x1",
                                              "Chest at 1, 64, 2 in the Overworld, slot 6 x1",
                                              "Loot at 17, 64, 3 in the Overworld, slot 3, in a box (its slot 1) x1"}));
  ASSERT_EQ(damaged.count, 2u);
  EXPECT_NE(damaged.reasons[0].find("player_server_damaged"), std::string::npos) << damaged.reasons[0];
  EXPECT_EQ(damaged.reasons[1].rfind("The block entities of chunk 3, 0", 0), 0u) << damaged.reasons[1];
  places.clear();
  for (const auto& found : ItemFinder().find(*db, ItemIdentity::named("minecraft:bread", 0))) {
    places.push_back(found.where());
  }
  EXPECT_EQ(places, (std::vector<std::string>{"Chest at 3, 64, 2 in the Overworld, slot 29"}));
}

// A world made to fill memory with containers gets the first ones listed,
// without their items, and the rest counted.
TEST(ContainerListBound, PastTheLimitContainersAreCountedNotListed) {
  tbktest::TestSandbox sandbox;
  tbktest::writeContainerWorld(sandbox.worldFolder("chests"));
  {
    auto db = gamedatabase::open(sandbox.worldFolder("chests") + "/db");
    leveldb::WriteBatch batch;
    auto chest = std::make_shared<TBKCompoundTag>("");
    chest->setValueForKey(std::make_shared<TBKStringTag>("id", "Chest"));
    for (int32_t x = 1000; x < 1000 + int32_t(ContainerList::maximumListed); ++x) {
      chest->setValueForKey(TBKNumberTag::intTag("x", x * 16));
      batch.Put(tbktest::chunkKey(x, 100).bytes(), TBKNBT::serialise(*chest));
    }
    ASSERT_TRUE(db->Write(leveldb::WriteOptions(), &batch).ok());
  }
  auto db = TBKLevelDB::dbForWorldNamed("chests");
  size_t visited = 0;
  auto listing = ContainerList::list(*db, nullptr, nullptr, [&](const ContainerSummary&) { ++visited; });
  EXPECT_EQ(visited, ContainerList::maximumListed);
  EXPECT_EQ(listing.notListed, 11u) << "as many as the fixture's own block entities that hold items";
  EXPECT_GE(listing.containers.size(), ContainerList::maximumListed - 1) << "a double chest may be joined";
  EXPECT_TRUE(std::all_of(listing.containers.begin(), listing.containers.end(),
                          [](const ContainerSummary& container) { return container.items.empty(); }));
}

}  // namespace
