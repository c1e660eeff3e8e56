#include "WorldsFolderWatch.h"

#include "ActingForNobody.h"
#include "Tarnbook/TBKLevelDB.h"

namespace {

using tbktest::nobody;
using tbktest::nogroup;
using tbktest::WorldsForNobody;

// The listing is kept between calls while nothing watched changes; a change
// of rights alone (no name added or removed) must still show on the very
// next call, since what the user may read decides what is listed.
TEST_F(WorldsForNobody, AChangeOfTheUsersRightsShowsOnTheNextListing) {
  std::string lake = sandbox.worldFolder("lake");
  const struct {
    const char* change;
    std::string path;  // whose rights change
    uid_t owner;
    mode_t mode;
    bool listed;
  } steps[] = {
      {"the world folder closed to them", lake, nobody, 0, false},
      {"opened again", lake, nobody, 0755, true},
      {"given to someone else", lake, tbktest::someoneElse, 0700, false},
      {"given back", lake, nobody, 0755, true},
  };
  EXPECT_EQ(TBKLevelDB::worlds(), std::vector<std::string>{"lake"});
  for (const auto& step : steps) {
    SCOPED_TRACE(step.change);
    place(step.path, step.owner, nogroup, step.mode);
    EXPECT_EQ(TBKLevelDB::worlds(), step.listed ? std::vector<std::string>{"lake"} : std::vector<std::string>{});
  }
}

}  // namespace
