// The creature rules over a world written by the tests in both forms; what
// is stored is read back with the tests' own reader.
#include "records/CreatureRecord.h"

#include <gtest/gtest.h>

#include "CreatureWorld.h"
#include "Tarnbook/TBKEntities.h"
#include "TarnbookTestWorld.h"
#include "WorldReader.h"
#include "records/CreatureItemSource.h"
#include "records/CreatureList.h"
#include "records/ItemFinder.h"
#include "records/ItemIdentity.h"

namespace {

namespace cw = creatureworld;
using Contents = std::map<std::string, std::string>;

std::string le(int64_t value, size_t width) { return worldreader::littleEndian(value, width); }

struct CreatureRecordTest : ::testing::Test {
  tbktest::TestSandbox sandbox;
  std::string lake = sandbox.worldFolder("lake");
  std::shared_ptr<TBKLevelDB> db;
  std::vector<std::shared_ptr<TBKEntity>> entities;

  void SetUp() override {
    tbktest::writeWorld(lake, "Lakeside Survival", true);
    cw::write(lake);
    db = TBKLevelDB::dbForWorldNamed("lake");
    entities = TBKEntities::list(*db)->entities;
  }
  CreatureRecord creature(const std::string& id) {
    for (const auto& entity : entities) {
      if (entity->idText() == id) return CreatureRecord(db, entity);
    }
    throw std::runtime_error("no creature " + id);
  }
};

TEST_F(CreatureRecordTest, ACreatureShowsItsKindNameHealthOwnerAndItems) {
  struct Case {
    const char* id;
    std::string shown;  // kind | name | health/max | tamed | lists
  } cases[] = {
      {"1", "Wolf|Rex|14/20|tamed|"},
      {"3", "Villager|Smith|20/20||"},
      {"5", "Armor Stand||6/20||Armor:0 Mainhand:0 Offhand:0 "},
      {"6", "Donkey||19/20||ChestItems:15 "},
      {"7", "Chest Minecart||||Items:27 "},
      {"8", "Dropped Item||||"},
      {"11", "Cyclops|Polyphemus|80/20||"},
      {"chunk:5:5:0:1", "Chicken|Old Hen|4/20||"},
  };
  for (const auto& c : cases) {
    CreatureRecord record = creature(c.id);
    std::string lists;
    for (const auto& list : record.itemLists()) lists += list.key + ":" + std::to_string(list.capacity) + " ";
    auto number = [](std::optional<float> value) { return value ? std::to_string(int(*value)) : std::string(); };
    std::string health = record.health() ? number(record.health()) + "/" + number(record.maxHealth()) : "";
    EXPECT_EQ(record.kind() + "|" + record.name() + "|" + health + "|" + (record.tamed() ? "tamed" : "") + "|" + lists,
              c.shown);
  }
}

// Each change writes the creature's own record (or its root) and nothing
// else: in place where the value keeps its size, checked byte for byte.
TEST_F(CreatureRecordTest, EachChangeIsStoredInTheCreatureAloneAndAnAddOnsCreatureIsKept) {
  auto list = [](CreatureRecord& record, const char* key) { return record.tree()->listForKey(key); };
  struct Case {
    const char* what;
    const char* id;
    std::function<Outcome(CreatureRecord&)> act;
    std::string key;      // the record expected to change
    const char* path;     // where
    std::string payload;  // its new payload (every other byte kept), or
    std::string snbt;     // what the reader shows there
  } cases[] = {
      {"a villager renamed", "3", [](auto& r) { return r.setName("Mason"); }, cw::entityKey(cw::smith), "CustomName",
       le(5, 2) + "Mason", ""},
      {"a name removed", "3", [](auto& r) { return r.setName(""); }, cw::entityKey(cw::smith), "", "",
       "{identifier:\"minecraft:villager_v2\",UniqueID:3L,Pos:[?,?,?],Persistent:0b,Attributes:[{Base:?,Current:?,Max:?"
       ","
       "Name:\"minecraft:health\"}]}"},
      {"health", "1", [](auto& r) { return r.setHealth(20); }, cw::entityKey(cw::wolf), "Attributes/0/Current",
       le(0x41a00000, 4), ""},
      {"health past the maximum", "1", [](auto& r) { return r.setHealth(500); }, cw::entityKey(cw::wolf),
       "Attributes/0/Current", le(0x41a00000, 4), ""},
      {"stays", "2", [](auto& r) { return r.setStays(true); }, cw::entityKey(cw::villager), "Persistent", le(1, 1), ""},
      {"an armor stand's chestplate", "5",
       [&](auto& r) {
         auto entry = list(r, "Armor")->compoundAtIndex(1);
         return r.equipment()->edit(*entry, [](TBKCompoundTag& e) {
           return ItemIdentity::named("minecraft:diamond_chestplate", 0).writeTo(e);
         });
       },
       cw::entityKey(cw::armorStand), "Armor/1/Name", le(28, 2) + "minecraft:diamond_chestplate", ""},
      {"a donkey's chest", "6",
       [&](auto& r) { return r.equipment()->addItem(list(r, "ChestItems"), "ChestItems", 15); },
       cw::entityKey(cw::donkey), "ChestItems/2", "",
       "{Count:1b,Damage:0s,Name:\"minecraft:stone\",Slot:2b,WasPickedUp:0b}"},
      {"a minecart's items", "7", [&](auto& r) { return r.equipment()->addItem(list(r, "Items"), "Items", 27); },
       cw::entityKey(cw::minecart), "Items/1", "",
       "{Count:1b,Damage:0s,Name:\"minecraft:stone\",Slot:0b,WasPickedUp:0b}"},
      {"an add-on's creature renamed", "11", [](auto& r) { return r.setName("Cyclops"); }, cw::entityKey(cw::cyclops),
       "CustomName", le(7, 2) + "Cyclops", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    tbktest::TestSandbox fresh;
    tbktest::writeWorld(fresh.worldFolder("lake"), "Lakeside Survival", true);
    cw::write(fresh.worldFolder("lake"));
    db = TBKLevelDB::dbForWorldNamed("lake");
    entities = TBKEntities::list(*db)->entities;
    Contents before = worldreader::databaseContents(fresh.worldFolder("lake"));
    CreatureRecord record = creature(c.id);
    EXPECT_EQ(c.act(record), std::nullopt);
    Contents after = worldreader::databaseContents(fresh.worldFolder("lake"));
    if (!c.payload.empty()) {
      EXPECT_EQ(after.at(c.key), worldreader::withPayload(before.at(c.key), c.path, c.payload));
    } else {
      EXPECT_EQ(worldreader::snbt(*worldreader::parseNBT(after.at(c.key)).find(c.path)), c.snbt);
    }
    after.erase(c.key), before.erase(c.key);
    EXPECT_EQ(worldreader::describeDifference(before, after), "");
  }
}

TEST_F(CreatureRecordTest, BroughtToThePlayerInThePlayersDimensionAndRemovedWithItsDigest) {
  auto player = tbktest::makePlayerTree();
  player->setValueForKey(TBKNumberTag::intTag("DimensionId", 1));
  EXPECT_EQ(creature("1").bringTo(*player), std::nullopt);
  EXPECT_EQ(creature("4").remove(), std::nullopt);
  auto pos = le(5, 1) + le(3, 4) + le(0x43008000, 4) + le(0x42833d71, 4) + le(0xc21e0000, 4);
  Contents after = worldreader::databaseContents(lake);
  EXPECT_EQ(after.at(cw::entityKey(cw::wolf)),
            worldreader::withPayload(*worldreader::readDatabaseValue(lake, cw::entityKey(cw::wolf)), "Pos", pos));
  EXPECT_EQ(after.at(cw::digestKey(2, -2)), "");
  EXPECT_EQ(after.at(cw::digestKey(8, -3, 1)), le(cw::wolf, 8));
  EXPECT_EQ(after.count(cw::entityKey(cw::zombie)), 0u);
  EXPECT_EQ(after.at(cw::digestKey(-2, 0, 1)), "");
}

TEST_F(CreatureRecordTest, TheListHasTheDimensionsThePlayersFirstAndKindsNearestFirstWithTheirCounts) {
  auto rows = [&](TBKChunkKey::Dimension dimension, const std::string& search) {
    std::string shown;
    for (const auto& section : CreatureList::arrange(entities, {8, 64, 8}, dimension, search)) {
      shown += section.title + ":";
      for (const auto& row : section.rows) shown += (row.entity ? " " : " [") + row.text + (row.entity ? "" : "]");
      shown += "\n";
    }
    return shown;
  };
  EXPECT_EQ(rows(TBKChunkKey::Dimension::Nether, "VILL"), "Overworld: [Villager (2)] Villager Smith\n");
  EXPECT_EQ(rows(TBKChunkKey::Dimension::Nether, "o"),
            "The Nether: [Zombie (1)] Zombie\n"
            "Overworld: [Dropped Item (2)] Dropped Item Dropped Item [Armor Stand (1)] Armor Stand [Donkey (1)] Donkey "
            "[Experience Orb (1)] Experience Orb [Wolf (1)] Rex [Cyclops (1)] Polyphemus [Chicken (1)] Old Hen "
            "[Cow (1)] Cow\n");
  EXPECT_EQ(CreatureList::ofKind(entities, "minecraft:item").size(), 2u);
}

}  // namespace

TEST_F(CreatureRecordTest, FindListsTheItemsCreaturesHoldAndThoseLyingOnTheGround) {
  ItemFinder finder;
  finder.addSource(CreatureItemSource::make());
  struct Case {
    const char* item;
    std::vector<std::string> places;
  } cases[] = {
      {"minecraft:iron_chestplate", {"Armor Stand at 3, 64, 20 in the Overworld, armor, slot 2 x1"}},
      {"minecraft:torch", {"Armor Stand at 3, 64, 20 in the Overworld, main hand, slot 1 x1"}},
      {"minecraft:saddle", {"Donkey at 6, 64, 22 in the Overworld, chest, slot 2 x1"}},
      {"minecraft:rail", {"Chest Minecart at 9, 64, 25 in the Overworld, items, slot 5 x32"}},
      {"minecraft:apple", {"Dropped Item at 20, 63, 5 in the Overworld x3"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> places;
    for (const auto& found : finder.find(*db, ItemIdentity::named(c.item, 0))) {
      places.push_back(found.where() + " x" + std::to_string(found.count));
    }
    EXPECT_EQ(places, c.places) << c.item;
  }
}
