// The places a map's tap moves, over trees in memory whose commits log what
// they stored as the tests' own reader shows it.
#include "records/MapPlaces.h"

#include <gtest/gtest.h>

#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "WorldReader.h"

namespace {

TEST(MapPlaces, MovesThePlayerOntoABlockAndTheSpawnEachInOneWrite) {
  struct Case {
    const char* what;
    bool hasDimension;
    std::function<Outcome(MapPlaces&)> act;
    std::string writes;
    bool refused = false;
    std::vector<float> position = {};  // the floats of "Pos" (the reader shows them as ?)
  } cases[] = {
      {"onto grass",
       true,
       [](MapPlaces& p) { return p.movePlayer(10, 64, -3, 0); },
       "player {DimensionId:0,Pos:[?,?,?],Motion:[?,?,?]}",
       false,
       {10.5f, 66.62f, -2.5f}},
      {"into the Nether, an early record",
       false,
       [](MapPlaces& p) { return p.movePlayer(-1, 31, 2, 1); },
       "player {Pos:[?,?,?],Motion:[?,?,?],DimensionId:1}",
       false,
       {-0.5f, 33.62f, 2.5f}},
      {"the spawn", true, [](MapPlaces& p) { return p.setSpawn(-20, 70, 5); }, "level {SpawnX:-20,SpawnY:70,SpawnZ:5}"},
      {"refused", true, [](MapPlaces& p) { return p.setSpawn(1, 2, 3); }, "level refused", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string writes;
    std::shared_ptr<TBKCompoundTag> player;
    auto record = [&](const char* name, bool refuse) {
      auto tree = std::make_shared<TBKCompoundTag>("");
      if (std::string(name) == "player") player = tree;
      if (std::string(name) == "player" && c.hasDimension) tree->setValueForKey(TBKNumberTag::intTag("DimensionId", 0));
      return std::make_shared<TreeRecord>(tree, [&, name, refuse](const std::shared_ptr<TBKCompoundTag>& root) {
        writes += std::string(name) + " " +
                  (refuse ? "refused" : worldreader::snbt(worldreader::parseNBT(TBKNBT::serialise(*root))));
        if (refuse) throw TBKException(TBKException::Kind::File, "The disk is full.");
      });
    };
    MapPlaces places(record("level", c.refused), record("player", false));
    Outcome outcome = c.act(places);
    EXPECT_EQ(outcome.has_value(), c.refused);
    EXPECT_EQ(writes, c.writes);
    for (size_t i = 0; i < c.position.size(); ++i) {
      EXPECT_EQ(std::static_pointer_cast<TBKNumberTag>(player->listForKey("Pos")->value()[i])->value().floatValue(),
                c.position[i]);
    }
  }
  EXPECT_TRUE(MapPlaces(nullptr, nullptr).movePlayer(0, 0, 0, 0).has_value());
}

}  // namespace
