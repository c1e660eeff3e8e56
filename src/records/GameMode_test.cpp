#include "records/GameMode.h"

#include <gtest/gtest.h>

namespace {

// Which game types a world offers follows the version that last opened it.
TEST(GameMode, SpectatorIsOfferedFromTheVersionThatHasItOrWhereItIsInUse) {
  struct Case {
    std::vector<int32_t> version;  // empty: an early world, with no version list
    int32_t gameType;
    size_t choices;
  } cases[] = {
      {{}, 0, 2},     {{1, 21, 40, 3, 0}, 0, 3}, {{1, 21, 50, 0, 0}, 0, 4}, {{1, 26, 0}, 0, 4},
      {{2, 0}, 0, 4}, {{1, 20, 80, 5}, 6, 4},
  };
  for (const auto& c : cases) {
    TBKCompoundTag level("");
    level.setValueForKey(TBKNumberTag::intTag("GameType", c.gameType));
    if (!c.version.empty()) {
      auto list = std::make_shared<TBKListTag>("lastOpenedWithVersion", TBKTagType::Int);
      for (int32_t part : c.version) list->setObjectAtIndexedSubscript(TBKNumberTag::intTag("", part), list->count());
      level.setValueForKey(list);
    }
    EXPECT_EQ(gamemode::worldChoices(level, nullptr).size(), c.choices) << c.version.size() << " " << c.gameType;
  }
}

}  // namespace
