// The level rows over a level tree and a player tree in memory, whose commits
// log in one line what they stored, as the tests' own reader shows it.
#include "records/LevelRecord.h"

#include <map>

#include <gtest/gtest.h>

#include "Tarnbook/TBKNBT.h"
#include "WorldReader.h"

namespace {

const char* const abilityNames[] = {"mayfly", "invulnerable", "instabuild", "flying"};

// The player's four abilities in the game's order, a digit of `bits` each.
std::string abilities(const std::string& bits) {
  std::string out;
  for (size_t i = 0; i < 4; ++i) out += std::string(i ? "," : "") + abilityNames[i] + ":" + bits.at(i) + "b";
  return "abilities:{" + out + "}";
}

std::string snbt(const TBKTag& tree) { return worldreader::snbt(worldreader::parseNBT(TBKNBT::serialise(tree))); }

// A level of `gameType`, and a player of their own mode (none: -1) with the
// abilities `bits`; the record named `refusing` refuses every write.
struct Fixture {
  std::map<std::string, std::shared_ptr<TBKCompoundTag>> trees{{"level", std::make_shared<TBKCompoundTag>("")},
                                                               {"player", std::make_shared<TBKCompoundTag>("")}};
  std::string writes, refusing;
  LevelRecord record{commit("level"), commit("player")};

  Fixture(int32_t gameType, int32_t own, const std::string& bits, std::string refuses) : refusing(std::move(refuses)) {
    trees["level"]->setValueForKey(TBKNumberTag::intTag("GameType", gameType));
    if (own >= 0) trees["player"]->setValueForKey(TBKNumberTag::intTag("PlayerGameMode", own));
    auto held = std::make_shared<TBKCompoundTag>("abilities");
    for (size_t i = 0; i < 4; ++i) held->setValueForKey(TBKNumberTag::byteTag(abilityNames[i], bits.at(i) == '1'));
    trees["player"]->setValueForKey(held);
  }
  std::shared_ptr<TreeRecord> commit(const std::string& name) {
    return std::make_shared<TreeRecord>(trees[name], [this, name](const std::shared_ptr<TBKCompoundTag>& root) {
      writes += (writes.empty() ? "" : " ") + name + " " + (name == refusing ? "refused" : snbt(*root));
      if (name == refusing) throw TBKException(TBKException::Kind::File, "The disk is full.");
    });
  }
};

// A mode carries the abilities of the mode that then applies, player first;
// a refused level gives the player back what they had, flight included.
TEST(LevelRecord, AModeCarriesTheAbilitiesThatApplyWrittenFirstAndTakenBackWhenTheLevelIsRefused) {
  const auto level = &LevelRecord::setLevelNumber, player = &LevelRecord::setPlayerNumber;
  struct Case {
    const char* what;
    int32_t gameType, own;
    const char* abilities;
    decltype(level) set;
    const char* setting;
    int32_t value;
    std::string writes;
    const char* refusing = "";
  } cases[] = {
      {"creative world", 0, -1, "0000", level, "GameType", 1, "player {" + abilities("1110") + "} level {GameType:1}"},
      {"a flyer lands", 1, -1, "1111", level, "GameType", 0, "player {" + abilities("0000") + "} level {GameType:0}"},
      {"spectator world", 0, 5, "0000", level, "GameType", 6,
       "player {PlayerGameMode:5," + abilities("1101") + "} level {GameType:6}"},
      {"own survival, creative world", 0, 0, "0000", level, "GameType", 1,
       "player {PlayerGameMode:0," + abilities("0000") + "} level {GameType:1}"},
      {"another level row", 0, -1, "0000", level, "SpawnX", 7, "level {GameType:0,SpawnX:7}"},
      {"own survival", 1, -1, "1110", player, "PlayerGameMode", 0,
       "player {" + abilities("0000") + ",PlayerGameMode:0}"},
      {"own default, creative world", 1, 2, "0000", player, "PlayerGameMode", 5,
       "player {PlayerGameMode:5," + abilities("1110") + "}"},
      {"the level refused", 1, -1, "1111", level, "GameType", 0,
       "player {" + abilities("0000") + "} level refused player {" + abilities("1111") + "}", "level"},
      {"the player refused", 1, -1, "1111", level, "GameType", 0, "player refused", "player"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fixture f(c.gameType, c.own, c.abilities, c.refusing);
    EXPECT_EQ((f.record.*c.set)(c.setting, c.value).value_or(Refusal{}).reason, *c.refusing ? "The disk is full." : "");
    EXPECT_EQ(f.writes, c.writes);
  }
}

}  // namespace
