#include "options/OptionsText.h"

#include <gtest/gtest.h>

#include "options/OptionTableViewCell.h"

namespace {

TEST(TodaysOptionsText, AChangeRewritesOnlyItsValue) {
  struct Change {
    const char *before, *key, *value, *after;
  } changes[] = {
      {"mp_username:Steve\ngfx_gamma:0.3", "gfx_gamma", "0.5", "mp_username:Steve\ngfx_gamma:0.5"},
      {"\xEF\xBB\xBFmp_username:Steve\n", "mp_username", "Alex", "\xEF\xBB\xBFmp_username:Alex\n"},
      {"ctrl_x:1\nctrl_x:2\ngfx_gamma:0.3\n", "gfx_gamma", "1", "ctrl_x:1\nctrl_x:2\ngfx_gamma:1\n"},
      {"mp_username:a:b\ngame_lastcustomskinnew:\n", "game_lastcustomskinnew", "\xC2\xA7x",
       "mp_username:a:b\ngame_lastcustomskinnew:\xC2\xA7x\n"},
  };
  for (const auto& c : changes) EXPECT_EQ(OptionsText::rewritingValue(c.before, c.key, c.value).text, c.after);
}

TEST(TodaysOptionsText, AFileThatIsNotOnlySettingsIsNeverRewrittenAndSaysWhy) {
  struct Refusal {
    std::string text;
    const char* value;
    const char* reason;
  } refusals[] = {
      {"mp_username:St\xFF"
       "ve\ngame_difficulty_new:2\n",
       "3", "it holds bytes that are not UTF-8 text"},
      {"mp_username:Steve\n<<<<<<< ours\ngame_difficulty_new:2\n=======\ngame_difficulty_new:1\n>>>>>>> theirs\n", "3",
       "line 2 is text left by a merge tool"},
      {"mp_username:Steve\ngame_difficulty_new 2\n", "3", "line 2 is not a setting (it has no \":\")"},
      {"mp_username:Steve\n\ngame_difficulty_new:2\n", "3", "line 2 is not a setting (it has no \":\")"},
      {"mp_username:Steve\r\ngame_difficulty_new:2\r\n", "3", "line 1 holds a carriage return"},
      {"game_difficulty_new:2\nmp_username:Steve\ngame_difficulty_new:1\n", "3",
       "line 3 sets game_difficulty_new again (line 1 set it)"},
      {"mp_username:Steve\n:2\n", "3", "line 2 has no key before its \":\""},
      {"mp_username:Steve\n", "3", "it no longer holds game_difficulty_new"},
      {"game_difficulty_new:2\n", "3\nmp_username:x", "the value would break the line"},
  };
  for (const auto& refusal : refusals) {
    auto rewrite = OptionsText::rewritingValue(refusal.text, "game_difficulty_new", refusal.value);
    EXPECT_EQ(rewrite.text, std::nullopt) << refusal.reason;
    EXPECT_EQ(rewrite.refusal, refusal.reason);
  }
  // Shown as far as it can be read all the same.
  EXPECT_EQ(OptionsText::readableValue(refusals[0].text, "game_difficulty_new"), "2");
  EXPECT_EQ(OptionsText::readableValue(refusals[0].text, "mp_username"), std::nullopt);
}

TEST(TodaysOptionsText, TodaysFileIsToldByAKeyOnlyTodaysGameWrites) {
  const std::pair<const char*, bool> files[] = {{"mp_username:Steve\ngame_difficulty:2\n", false},
                                                {"mp_username:Steve\ngfx_viewdistance:512\n", true},
                                                {"game_difficulty_new:2\nmp_username:St\xFF\n", true},
                                                {"mp_username:game_difficulty_new:1\n", false}};
  for (auto [text, todays] : files) EXPECT_EQ(OptionsText::isTodays(text), todays) << text;
}

TEST(TodaysOptionsText, NumbersAreWrittenInTheShortestFormThatReadsBackTheSame) {
  const std::pair<float, const char*> numbers[] = {{0.5f, "0.5"},   {69.2f, "69.2"},     {1, "1"},
                                                   {-0.0f, "0"},    {96, "96"},          {0.6862745f, "0.6862745"},
                                                   {0.29f, "0.29"}, {1e-7f, "0.0000001"}};
  for (auto [number, text] : numbers) {
    EXPECT_EQ(OptionTableViewCell::decimalText(number), text);
    EXPECT_EQ(OptionTableViewCell::decimalValue(text), number);
  }
}

}  // namespace
