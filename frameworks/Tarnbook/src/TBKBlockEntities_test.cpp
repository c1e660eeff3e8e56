#include "Tarnbook/TBKBlockEntities.h"

#include <gtest/gtest.h>

#include "ChunkChecksums.h"
#include "ContainerWorld.h"
#include "RecordShape.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "TarnbookTestWorld.h"
#include "WorldReader.h"

namespace {

using Dimension = TBKChunkKey::Dimension;
using tbktest::chunkKey;

class TBKBlockEntitiesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tbktest::writeContainerWorld(folder);
    db = TBKLevelDB::dbForWorldNamed("chests");
  }

  // The record's bytes as the tests' own reader finds them.
  std::string stored(const TBKChunkKey& key) {
    return worldreader::readDatabaseValue(folder, key.bytes()).value_or("");
  }

  tbktest::TestSandbox sandbox;
  std::string folder = sandbox.worldFolder("chests");
  std::shared_ptr<TBKLevelDB> db;
};

// Sets the number at a path of compound names and list indices.
void setNumber(TBKCompoundTag& root, const std::string& path, int64_t value) {
  std::shared_ptr<TBKTag> at;
  TBKCompoundTag* compound = &root;
  size_t start = 0;
  for (size_t slash; (slash = path.find('/', start)) != std::string::npos; start = slash + 1) {
    std::string step = path.substr(start, slash - start);
    at = compound ? compound->objectForKeyedSubscript(step)
                  : std::static_pointer_cast<TBKListTag>(at)->objectAtIndexedSubscript(std::stoul(step));
    compound = at->type() == TBKTagType::Compound ? static_cast<TBKCompoundTag*>(at.get()) : nullptr;
  }
  std::string name = path.substr(start);
  auto old = std::static_pointer_cast<TBKNumberTag>(compound->objectForKeyedSubscript(name));
  compound->setValueForKey(std::make_shared<TBKNumberTag>(name, old->type(), TBKNumber::integer(value)));
}

TEST_F(TBKBlockEntitiesTest, AWalkListsEveryBlockEntityOfEveryDimensionAndReportsADamagedChunkWithoutStopping) {
  std::vector<std::string> seen;
  std::vector<std::string> damaged;
  EXPECT_TRUE(TBKBlockEntities::forEach(
      *db,
      [&](const TBKBlockEntity& entity) {
        seen.push_back(entity.root->stringForKey("id") + "@" + std::to_string(entity.chunk.x) + "/" +
                       std::to_string(int(entity.chunk.dimension)) + "#" + std::to_string(entity.index));
        return true;
      },
      [&](const TBKBlockEntities::Damage& damage) { damaged.push_back(damage.reason.substr(0, 44)); }));
  // Key order: the Nether's dimension bytes sort before the Overworld's tag.
  EXPECT_EQ(seen, (std::vector<std::string>{"Chest@0/1#0", "Chest@0/0#0", "Chest@0/0#1", "Sign@0/0#2", "Chest@0/0#3",
                                            "Barrel@1/0#0", "Furnace@1/0#1", "Hopper@1/0#2", "ItemFrame@2/0#0",
                                            "Lectern@2/0#1", "mymod:crate@2/0#2", "Chest@2/0#3"}));
  EXPECT_EQ(damaged, (std::vector<std::string>{"The block entities of chunk 3, 0 are damaged"}));

  size_t visits = 0;
  EXPECT_FALSE(TBKBlockEntities::forEach(*db, [&](const TBKBlockEntity&) { return ++visits < 2; }));
  EXPECT_EQ(visits, 2u);
  // A cancel is heard before the walk meets any block entity.
  EXPECT_FALSE(TBKBlockEntities::forEach(
      *db, [&](const TBKBlockEntity&) { return ++visits > 0; }, nullptr, nullptr, [] { return true; }));
  EXPECT_EQ(visits, 2u);
}

// One child of one root changed, through the library; the test expects the
// record's other roots and bytes as they were and, where the chunk keeps
// checksums, the new value's checksum beside the others unchanged.
TEST_F(TBKBlockEntitiesTest, AWriteChangesOneRootsChildAndKeepsEveryOtherByteAndTheChecksums) {
  struct Case {
    TBKChunkKey chunk;
    size_t index;
    std::string path;
    int64_t value;
    size_t width;
  } cases[] = {
      {chunkKey(0, 0), 0, "Items/0/Count", 11, 1},                     // a chest
      {chunkKey(0, 0), 3, "Items/0/Count", 6, 1},                      // a double chest's second half
      {chunkKey(1, 0), 0, "Items/0/tag/Items/0/Count", 2, 1},          // a box inside a barrel
      {chunkKey(1, 0), 1, "Items/1/Count", 3, 1},                      // a furnace's fuel
      {chunkKey(1, 0), 2, "Items/0/Count", 8, 1},                      // a hopper
      {chunkKey(2, 0), 0, "Item/Count", 2, 1},                         // an item frame
      {chunkKey(2, 0), 1, "book/Damage", 1, 2},                        // a lectern's book
      {chunkKey(2, 0), 2, "mymod:fill", 4, 4},                         // an add-on's block entity
      {chunkKey(0, 0, Dimension::Nether), 0, "Items/0/Count", 10, 1},  // in the Nether
  };
  std::string version = stored(chunkKey(2, 0, Dimension::Overworld, TBKChunkKey::Tag::Version));
  for (const auto& c : cases) {
    SCOPED_TRACE(tbk::recordName(c.chunk.bytes()) + " root " + std::to_string(c.index));
    std::string before = stored(c.chunk);
    auto roots = TBKBlockEntities::read(*db, c.chunk);
    std::string rootBytes = TBKNBT::serialise(*roots.at(c.index));
    setNumber(*roots[c.index], c.path, c.value);
    TBKBlockEntities::write(*db, {{c.chunk, c.index, rootBytes, roots[c.index]}});

    std::string expected = before;
    size_t at = before.find(rootBytes);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, rootBytes.size(),
                     worldreader::withPayload(rootBytes, c.path, worldreader::littleEndian(c.value, c.width)));
    EXPECT_EQ(stored(c.chunk), expected);
    if (c.chunk.x == 2) {
      EXPECT_EQ(stored(chunkKey(2, 0, Dimension::Overworld, TBKChunkKey::Tag::Checksums)),
                tbktest::checksumsRecord({{0x2c, version}, {0x31, expected}}));
    }
  }
}

TEST_F(TBKBlockEntitiesTest, AWriteIsRefusedWholeForAStaleRootOrChecksumsItCannotUpdate) {
  auto checksumsKey = chunkKey(2, 0, Dimension::Overworld, TBKChunkKey::Tag::Checksums).bytes();
  auto roots = TBKBlockEntities::read(*db, chunkKey(2, 0));
  std::string frame = TBKNBT::serialise(*roots[0]);
  db->writeRecords({{checksumsKey, tbktest::checksumsRecord({{0x2c, "\x28"}})}});
  auto before = worldreader::databaseContents(folder);
  struct Case {
    std::string before;
    std::string reason;
  } cases[] = {
      {frame, "The block entities of chunk 2, 0 cannot be changed: its checksums record has no checksum"},
      {"stale", "The block entities of chunk 2, 0 cannot be changed: the block entity changed since it was read"},
  };
  for (const auto& c : cases) {
    auto error = tbktest::raised([&] { TBKBlockEntities::write(*db, {{chunkKey(2, 0), 0, c.before, roots[0]}}); });
    EXPECT_EQ(error.reason().rfind(c.reason, 0), 0u) << error.reason();
    EXPECT_EQ(worldreader::databaseContents(folder), before);
  }
  EXPECT_EQ(tbktest::raised([&] { TBKBlockEntities::read(*db, chunkKey(3, 0)); })
                .reason()
                .rfind("The block entities of chunk 3, 0 are damaged (", 0),
            0u);
}

// The record's layout as the game's documentation gives it, with the
// known xxHash64s of no bytes and of "a". An entry that is not the stored
// record's hash shows a world whose checksums Gorvane does not reckon alike:
// nothing is changed.
TEST(ChunkChecksums, AreReadAndUpdatedInTheGamesLayout) {
  std::string one(
      "\x01\x00\x00\x00"
      "\x2f\x03"
      "\x99\xe9\xd8\x51\x37\xdb\x46\xef",
      14);
  EXPECT_EQ(tbk::checksumsWith(one, 0x2f, 3, "", "a"), std::string("\x01\x00\x00\x00"
                                                                   "\x2f\x03"
                                                                   "\x5b\x6e\x8c\xa9\xf1\xc4\x4e\xd2",
                                                                   14));
  EXPECT_EQ(tbktest::raised([&] { tbk::checksumsWith(one, 0x2f, 3, "b", "a"); }).reason(),
            "its checksums record does not hold the checksum of the record as stored, so Gorvane cannot keep it right");
  EXPECT_EQ(tbk::parseChecksums(one), (std::vector<tbk::ChecksumEntry>{{0x2f, 3, 0xef46db3751d8e999}}));
  for (std::string damaged : {std::string("\x01\x00\x00", 3), one.substr(0, 13), "\x02" + one.substr(1)}) {
    EXPECT_EQ(tbktest::raisedKind([&] { tbk::parseChecksums(damaged); }), TBKException::Kind::Format);
  }
  EXPECT_EQ(tbk::recordDamage(chunkKey(0, 0, Dimension::Overworld, TBKChunkKey::Tag::Checksums).bytes(), "\x01"),
            "its checksums record is 1 bytes, too short for its count");
}

}  // namespace
