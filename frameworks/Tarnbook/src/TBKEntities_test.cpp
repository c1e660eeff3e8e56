#include "Tarnbook/TBKEntities.h"

#include <xxhash.h>

#include <gtest/gtest.h>

#include "CreatureWorld.h"
#include "EntityScanner.h"
#include "RecordShape.h"
#include "Tarnbook/TBKChunkKey.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "TarnbookTestWorld.h"
#include "WorldReader.h"

namespace {

using Dimension = TBKChunkKey::Dimension;
using Contents = std::map<std::string, std::string>;
namespace cw = creatureworld;

// A digest's bytes: the ids, 8 little-endian bytes each.
std::string ids(std::initializer_list<int64_t> list) {
  std::string bytes;
  for (int64_t id : list) bytes += worldreader::littleEndian(id, 8);
  return bytes;
}

std::string renamed(const std::string& bytes, const std::string& name) {
  return worldreader::withPayload(bytes, "CustomName", worldreader::littleEndian(int64_t(name.size()), 2) + name);
}

// The payload of a "Pos" list of three floats, given as their bits.
std::string floats(uint32_t x, uint32_t y, uint32_t z) {
  return "\x05" + worldreader::littleEndian(3, 4) + worldreader::littleEndian(x, 4) + worldreader::littleEndian(y, 4) +
         worldreader::littleEndian(z, 4);
}
const std::string movedPos = floats(0xc0400000, 0x42800000, 0x40e00000);  // -3, 64, 7

struct TBKEntitiesTest : ::testing::Test {
  tbktest::TestSandbox sandbox;
  std::string lake = sandbox.worldFolder("lake");

  void SetUp() override {
    tbktest::writeWorld(lake, "Lakeside Survival", true);
    cw::write(lake);
  }

  std::shared_ptr<TBKEntity> find(const TBKEntities::Listing& listing, const std::string& idText) {
    for (const auto& entity : listing.entities) {
      if (entity->idText() == idText) return entity;
    }
    ADD_FAILURE() << "no entity " << idText;
    return std::make_shared<TBKEntity>();
  }
  // The same with its whole tree read.
  std::shared_ptr<TBKEntity> opened(TBKLevelDB& db, const TBKEntities::Listing& listing, const std::string& idText) {
    auto entity = find(listing, idText);
    TBKEntities::load(db, *entity);
    return entity;
  }
};

TEST_F(TBKEntitiesTest, AListingFindsBothFormsInEveryDimensionAndNamesWhatIsWrong) {
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  auto listing = TBKEntities::list(*db);
  ASSERT_TRUE(listing);
  EXPECT_EQ(listing->entities.size(), 15u);
  // What a row shows is read without the tree: name | health/max | owned | item
  struct Case {
    std::string id, identifier;
    Dimension dimension;
    int32_t x, z;
    bool listed;
    std::string shown;
  } cases[] = {
      {"1", "minecraft:wolf", Dimension::Overworld, 2, -2, true, "Rex|14/20|owned|"},
      {"4", "minecraft:zombie", Dimension::Nether, -2, 0, true, "|20/20||"},
      {"8", "minecraft:item", Dimension::Overworld, 1, 0, true, "|||minecraft:apple"},
      {"11", "ymi:cyclops", Dimension::Overworld, 3, 3, true, "Polyphemus|80/20||"},
      {"12", "minecraft:cow", Dimension::Overworld, 6, 6, false, "|10/20||"},
      {"chunk:5:5:0:1", "minecraft:chicken", Dimension::Overworld, 5, 5, true, "Old Hen|4/20||"},
  };
  for (const auto& c : cases) {
    auto entity = find(*listing, c.id);
    const auto& health = entity->summary.health;
    EXPECT_EQ(
        entity->summary.name + "|" +
            (health ? std::to_string(health->current.intValue()) + "/" + std::to_string(health->maximum.intValue())
                    : "") +
            "|" + (entity->summary.owner ? "owned" : "") + "|" + entity->summary.itemName,
        c.shown)
        << c.id;
    EXPECT_FALSE(entity->tree) << c.id;
    EXPECT_EQ(entity->identifier(), c.identifier) << c.id;
    EXPECT_EQ(entity->dimension, c.dimension) << c.id;
    EXPECT_EQ(std::make_pair(entity->chunkX, entity->chunkZ), std::make_pair(c.x, c.z)) << c.id;
    EXPECT_EQ(entity->listed, c.listed) << c.id;
  }
  ASSERT_EQ(listing->problems.size(), 2u);
  EXPECT_NE(listing->problems[0].find("entity 0x0d00000000000000 is damaged"), std::string::npos);
  EXPECT_NE(listing->problems[1].find("names entity 0x6300000000000000, which the world does not hold"),
            std::string::npos);
  // Past the first few, problems are only counted.
  for (int i = 0; i < 11; ++i) listing->addProblem("another");
  EXPECT_EQ(std::make_pair(listing->problems.size(), listing->problemsNotTold), std::make_pair(10ul, 3ul));

  size_t asked = 0;
  EXPECT_FALSE(TBKEntities::list(*db, [&] { return ++asked > 3; }));
  EXPECT_EQ(TBKEntities::read(*db, "4")->dimension, Dimension::Nether);
  EXPECT_EQ(TBKEntities::read(*db, "chunk:5:5:0:2")->identifier(), "minecraft:sheep");
}

// The listing's scanner refuses what the reader refuses, trusting no length:
// each record is followed in memory by zeros that would end it as a compound
// if a length let the scanner run past its bytes.
TEST_F(TBKEntitiesTest, TheScannerRefusesWhatTheReaderRefuses) {
  auto le = [](int64_t value, size_t width) { return worldreader::littleEndian(value, width); };
  const std::string root("\x0a\x00\x00", 3);
  std::string deep = root + "\x09" + le(1, 2) + "a";
  for (int level = 0; level < 520; ++level) deep += "\x09" + le(1, 4);
  deep += std::string("\x00", 1) + le(0, 4) + std::string("\x00", 1);
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"a text longer than the bytes left", root + "\x08" + le(10, 2) + "CustomName" + le(200, 2) + "Rex"},
      {"a name longer than the bytes left", root + "\x01" + le(90, 2) + "Pos"},
      {"a list longer than the bytes left", root + "\x09" + le(3, 2) + "Pos\x05" + le(100, 4) + le(0, 4)},
      {"a nested list longer than the bytes left", root + "\x09" + le(1, 2) + "a\x01" + le(50, 4) + "xy"},
      {"an array longer than the bytes left", root + "\x0b" + le(1, 2) + "a" + le(90, 4) + le(0, 4)},
      {"an array of negative length", root + "\x07" + le(1, 2) + "a" + le(-1, 4)},
      {"a list of end tags with entries", root + "\x09" + le(1, 2) + "a" + std::string("\x00", 1) + le(2, 4)},
      {"an unknown tag type", root + "\x0d" + le(1, 2) + "a"},
      {"lists nested too deep", deep},
  };
  for (const auto& c : cases) {
    std::string memory = c.bytes + std::string(600, '\0');
    std::string_view record = std::string_view(memory).substr(0, c.bytes.size());
    EXPECT_EQ(tbktest::raisedKind([&] { tbk::scanEntity(record); }), TBKException::Kind::Format) << c.what;
    EXPECT_EQ(tbktest::raisedKind([&] { TBKNBT::parseCompound(record); }), TBKException::Kind::Format) << c.what;
  }
}

// Every change writes its records in one batch and leaves every other
// record's bytes as they were.
TEST_F(TBKEntitiesTest, EachChangeWritesItsRecordsAndKeepsEveryOtherByte) {
  const auto roots = cw::oldFormRoots();
  Contents before = worldreader::databaseContents(lake);
  using Expected = std::map<std::string, std::optional<std::string>>;
  struct Case {
    const char* change;
    std::function<void(TBKLevelDB&, const TBKEntities::Listing&)> act;
    Expected expected;
  } cases[] = {
      {"a rename",
       [&](TBKLevelDB& db, auto& listing) {
         auto wolf = opened(db, listing, "1");
         wolf->tree->setValueForKey(std::make_shared<TBKStringTag>("CustomName", "Wolfie"));
         TBKEntities::write(db, *wolf);
       },
       {{cw::entityKey(cw::wolf), renamed(before.at(cw::entityKey(cw::wolf)), "Wolfie")}}},
      {"an old-form rename",
       [&](TBKLevelDB& db, auto& listing) {
         auto hen = opened(db, listing, "chunk:5:5:0:1");
         hen->tree->setValueForKey(std::make_shared<TBKStringTag>("CustomName", "Hen"));
         TBKEntities::write(db, *hen);
       },
       {{cw::oldFormKey(5, 5), roots[0] + renamed(roots[1], "Hen") + roots[2]}}},
      {"a removal",
       [&](TBKLevelDB& db, auto& listing) { TBKEntities::remove(db, *find(listing, "6")); },
       {{cw::entityKey(cw::donkey), std::nullopt}, {cw::digestKey(0, 1), ids({cw::armorStand, cw::minecart})}}},
      {"an unlisted one's removal",
       [&](TBKLevelDB& db, auto& listing) { TBKEntities::remove(db, *find(listing, "12")); },
       {{cw::entityKey(cw::unlisted), std::nullopt}}},
      {"an old-form removal, then a change of the root after it",
       [&](TBKLevelDB& db, auto& listing) {
         TBKEntities::remove(db, *find(listing, "chunk:5:5:0:1"));
         auto sheep = opened(db, listing, "chunk:5:5:0:2");
         sheep->tree->setValueForKey(TBKNumberTag::byteTag("Persistent", 1));
         TBKEntities::write(db, *sheep);
       },
       {{cw::oldFormKey(5, 5), roots[0] + worldreader::withPayload(roots[2], "Persistent", "\x01")}}},
      {"every old-form root and two of one digest's ids, in one batch",
       [&](TBKLevelDB& db, auto& listing) {
         std::vector<std::shared_ptr<TBKEntity>> all;
         for (const char* id : {"chunk:5:5:0:0", "8", "chunk:5:5:0:1", "chunk:5:5:0:2", "9"})
           all.push_back(find(listing, id));
         TBKEntities::removeAll(db, all);
       },
       {{cw::oldFormKey(5, 5), std::nullopt},
        {cw::entityKey(cw::apple), std::nullopt},
        {cw::entityKey(cw::stone), std::nullopt},
        {cw::digestKey(1, 0), ids({cw::orb, cw::missing})}}},
      {"a move across a chunk border",
       [&](TBKLevelDB& db, auto& listing) {
         TBKEntities::move(db, *find(listing, "1"), {-3, 64, 7}, Dimension::Overworld);
       },
       {{cw::entityKey(cw::wolf), worldreader::withPayload(before.at(cw::entityKey(cw::wolf)), "Pos", movedPos)},
        {cw::digestKey(2, -2), ""},
        {cw::digestKey(-1, 0), ids({cw::wolf})}}},
      {"a move into the Nether",
       [&](TBKLevelDB& db, auto& listing) {
         TBKEntities::move(db, *find(listing, "3"), {-24, 70, 3}, Dimension::Nether);
       },
       {{cw::entityKey(cw::smith), worldreader::withPayload(before.at(cw::entityKey(cw::smith)), "Pos",
                                                            floats(0xc1c00000, 0x428c0000, 0x40400000))},
        {cw::digestKey(0, 0), ids({cw::villager})},
        {cw::digestKey(-2, 0, 1), ids({cw::zombie, cw::smith})}}},
      {"an old-form move across a chunk border",
       [&](TBKLevelDB& db, auto& listing) {
         TBKEntities::move(db, *find(listing, "chunk:5:5:0:0"), {-3, 64, 7}, Dimension::Overworld);
       },
       {{cw::oldFormKey(5, 5), roots[1] + roots[2]},
        {cw::oldFormKey(-1, 0), worldreader::withPayload(roots[0], "Pos", movedPos)}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    tbktest::TestSandbox fresh;
    std::string world = fresh.worldFolder("lake");
    tbktest::writeWorld(world, "Lakeside Survival", true);
    cw::write(world);
    Contents start = worldreader::databaseContents(world);
    {
      auto db = TBKLevelDB::dbForWorldNamed("lake");
      c.act(*db, *TBKEntities::list(*db));
    }
    Contents after = worldreader::databaseContents(world);
    for (const auto& [key, value] : c.expected) {
      EXPECT_EQ(after.count(key) ? std::optional(after.at(key)) : std::nullopt, value) << tbk::recordName(key);
      after.erase(key), start.erase(key);
    }
    EXPECT_EQ(worldreader::describeDifference(start, after), "");
  }
}

// A change that cannot be made raises and writes nothing: a root the game
// rewrote since the listing (as long as before), a move into a chunk whose digest is damaged
// (the entity's position is then as it was).
TEST_F(TBKEntitiesTest, ARefusedChangeWritesNothingAndLeavesTheEntityAsItWas) {
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  auto listing = TBKEntities::list(*db);
  auto pig = opened(*db, *listing, "chunk:5:5:0:0");
  auto sheep = find(*listing, "chunk:5:5:0:2");
  // The pig changed in place (its bytes as long as before), the hen gone.
  const auto roots = cw::oldFormRoots();
  db->writeRecords({{cw::oldFormKey(5, 5), worldreader::withPayload(roots[0], "Persistent", "\x01") + roots[2]},
                    {cw::digestKey(-1, 0), "1234"}});
  Contents before = worldreader::databaseContents(lake);
  auto wolf = find(*listing, "1");
  EXPECT_NE(tbktest::raised([&] { TBKEntities::write(*db, *pig); }).reason().find("was changed since it was read"),
            std::string::npos);
  TBKEntities::load(*db, *sheep);  // found again by its bytes, now the chunk's second root
  EXPECT_EQ(sheep->root, 1u);
  EXPECT_NE(tbktest::raised([&] {
              TBKEntities::move(*db, *wolf, {-3, 64, 7}, Dimension::Overworld);
            })
                .reason()
                .find("the entity list of chunk -1, 0 is damaged"),
            std::string::npos);
  EXPECT_EQ(wolf->position(), (std::array<double, 3>{40.5, 64, -20.5}));
  EXPECT_EQ(std::make_pair(wolf->chunkX, wolf->chunkZ), std::make_pair(2, -2));
  EXPECT_EQ(worldreader::describeDifference(before, worldreader::databaseContents(lake)), "");
}

// A chunk of the era before the Caves and Cliffs update keeps a checksum of
// its old-form entities; the game takes a record that no longer matches it
// for damage.
TEST_F(TBKEntitiesTest, AnOldFormChangeKeepsItsChunksChecksumRight) {
  std::string key = cw::oldFormKey(5, 5);
  TBKChunkKey sums = *TBKChunkKey::parse(key);
  sums.tag = TBKChunkKey::Tag::Checksums;
  auto checksums = [](const std::string& value) {
    return worldreader::littleEndian(1, 4) + std::string("\x32\x00", 2) +
           worldreader::littleEndian(int64_t(XXH64(value.data(), value.size(), 0)), 8);
  };
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  db->writeRecords({{sums.bytes(), checksums(*db->record(key))}});
  auto pig = opened(*db, *TBKEntities::list(*db), "chunk:5:5:0:0");
  pig->tree->setValueForKey(std::make_shared<TBKStringTag>("CustomName", "Wilbur"));
  TBKEntities::write(*db, *pig);
  EXPECT_EQ(worldreader::readDatabaseValue(lake, sums.bytes()),
            checksums(worldreader::readDatabaseValue(lake, key).value()));
}

TEST_F(TBKEntitiesTest, ARemovedCreatureComesBackWithItsDigestFromTheBackup) {
  Contents before = worldreader::databaseContents(lake);
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  TBKEntities::remove(*db, *find(*TBKEntities::list(*db), "1"));
  EXPECT_FALSE(worldreader::readDatabaseValue(lake, cw::entityKey(cw::wolf)));
  db->restoreBackup(db->backups().front());
  Contents after = worldreader::databaseContents(lake);
  for (const auto& key : {cw::entityKey(cw::wolf), cw::digestKey(2, -2)}) EXPECT_EQ(after[key], before.at(key));
}

}  // namespace
