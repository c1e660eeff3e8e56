#include "records/OptionsText.h"

#include <stdlib.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// The early game's files: the line that begins with the key, and nothing
// but its value's bytes replaced.
TEST(OptionsText, ReadsAndReplacesOnlyTheValueOfTheLineThatBeginsWithTheKey) {
  struct Change {
    const char *what, *before, *key;
    std::optional<std::string> read;
    const char *value, *after;
  } changes[] = {
      {"the two-line example", "mp_username:Builder\ngame_difficulty:2\n", "game_difficulty", "2", "3",
       "mp_username:Builder\ngame_difficulty:3\n"},
      {"an empty name", "mp_username:Steve\ngame_thirdperson:0\n", "mp_username", "Steve", "",
       "mp_username:\ngame_thirdperson:0\n"},
      {"a name that spells a key", "mp_username:gfx_fancygraphics:0\ngfx_fancygraphics:1\n", "gfx_fancygraphics", "1",
       "0", "mp_username:gfx_fancygraphics:0\ngfx_fancygraphics:0\n"},
      {"a key that begins a longer key", "game_server_visible_default:1\ngame_server_visible:0\n",
       "game_server_visible", "0", "1", "game_server_visible_default:1\ngame_server_visible:1\n"},
      {"no final line feed", "game_difficulty:2\nmp_username:Steve", "mp_username", "Steve", "Alexander",
       "game_difficulty:2\nmp_username:Alexander"},
      {"the key ends the text", "game_difficulty:2\nmp_username:", "mp_username", "", "Alex",
       "game_difficulty:2\nmp_username:Alex"},
      {"a carriage return before the line feed", "mp_username:Steve\r\ngame_difficulty:2\r\n", "mp_username", "Steve\r",
       "Alex", "mp_username:Alex\ngame_difficulty:2\r\n"},
      {"text beyond ASCII", "mp_username:J\xC3\xBCrgen\n", "mp_username", "J\xC3\xBCrgen", "\xE5\xBB\xBA\xE7\xAF\x89",
       "mp_username:\xE5\xBB\xBA\xE7\xAF\x89\n"},
  };
  for (const auto& change : changes) {
    SCOPED_TRACE(change.what);
    EXPECT_EQ(OptionsText::valueForKey(change.before, change.key), change.read);
    EXPECT_EQ(OptionsText::replacingValue(change.before, change.key, change.value).text, change.after);
  }
}

TEST(OptionsText, WhatCannotBeFoundOrWouldChangeTheFilesLinesIsNeverReplacedAndSaysWhy) {
  const std::string valid = "mp_username:Steve\ngame_difficulty:2\n";
  const char* const notUTF8 = "it holds bytes that are not UTF-8 text";
  const char* const lineBreak = "the value would break the line";
  const char* const noKey = "it no longer holds gfx_fancygraphics";
  struct Refusal {
    const char* what;
    std::string text;
    const char* key;
    std::string value;
    bool readable;  // whether game_difficulty still reads
    const char* reason;
  } refusals[] = {
      {"a key not in the file", valid, "gfx_fancygraphics", "1", true, noKey},
      {"a key only inside a value", "mp_username:gfx_fancygraphics\n", "gfx_fancygraphics", "1", false, noKey},
      {"a value with a line feed", valid, "mp_username", "Steve\ngfx_fancygraphics:1", true, lineBreak},
      {"a value with a carriage return", valid, "mp_username", "Steve\r", true, lineBreak},
      {"a value that is not UTF-8", valid, "mp_username", "St\xFF", true, lineBreak},
      {"a file that is not UTF-8", "mp_username:St\xC3(ve\ngame_difficulty:2\n", "game_difficulty", "3", false,
       notUTF8},
      {"a file with an encoded surrogate", "mp_username:\xED\xA0\x80\ngame_difficulty:2\n", "game_difficulty", "3",
       false, notUTF8},
      {"a file with an overlong encoding", "mp_username:\xC0\xAF\ngame_difficulty:2\n", "game_difficulty", "3", false,
       notUTF8},
  };
  for (const auto& refusal : refusals) {
    SCOPED_TRACE(refusal.what);
    auto rewrite = OptionsText::replacingValue(refusal.text, refusal.key, refusal.value);
    EXPECT_EQ(rewrite.text, std::nullopt);
    EXPECT_EQ(rewrite.refusal, refusal.reason);
    EXPECT_EQ(OptionsText::valueForKey(refusal.text, "gfx_fancygraphics"), std::nullopt);
    EXPECT_EQ(OptionsText::valueForKey(refusal.text, "game_difficulty").has_value(), refusal.readable);
  }
}

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
    EXPECT_EQ(OptionsText::decimalText(number), text);
    EXPECT_EQ(OptionsText::decimalValue(text), number);
  }
}

TEST(OptionsValues, TheFilesTextBecomesTheNumbersTheWidgetsTake) {
  struct Number {
    std::optional<std::string> text;
    int integer;
    float decimal;
  } numbers[] = {
      {std::nullopt, 0, 0},
      {"", 0, 0},
      {"  -7", -7, -7},
      {"+3x", 3, 3},
      {"0.5", 0, 0.5f},
      {"1.000000", 1, 1},
      {"abc", 0, 0},
      {".25", 0, 0.25f},
      {"2\r", 2, 2},
      {"1e2", 1, 100},
      {"+-1", 0, 0},
      {"99999999999", 2147483647, 99999999999.0f},
      {"-99999999999", -2147483648, -99999999999.0f},
      {"1e-60", 1, 0},
      {"1e60", 1, INFINITY},
  };
  for (const auto& number : numbers) {
    SCOPED_TRACE(number.text.value_or("(none)"));
    EXPECT_EQ(OptionsText::integerValue(number.text), number.integer);
    EXPECT_EQ(OptionsText::decimalValue(number.text), number.decimal);
  }
}

// The user's locale may write a decimal comma (the application's toolkit
// adopts it at start); the file's numbers keep the full stop.
TEST(OptionsValues, SliderPositionsAreWrittenWithAFullStopWhateverTheLocale) {
  const std::pair<float, const char*> positions[] = {
      {0.5f, "0.500000"}, {1, "1.000000"}, {0, "0.000000"}, {0.1f, "0.100000"}, {0.123456789f, "0.123457"}};
  for (auto [position, text] : positions) EXPECT_EQ(OptionsText::positionText(position), text);

  // A German locale compiled for this test, where the system has the
  // sources; otherwise the check above is all there is.
  char folder[] = "/tmp/gorvane-locale-XXXXXX";
  ASSERT_NE(::mkdtemp(folder), nullptr);
  std::string command = "localedef -i de_DE -f UTF-8 " + std::string(folder) + "/de_DE.UTF-8 >/dev/null 2>&1";
  bool made = std::system(command.c_str()) == 0 || fs::exists(fs::path(folder) / "de_DE.UTF-8" / "LC_NUMERIC");
  ::setenv("LOCPATH", folder, 1);
  bool comma = made && std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  char printed[32] = "";
  std::snprintf(printed, sizeof printed, "%f", 0.5);
  if (comma) {
    EXPECT_STREQ(printed, "0,500000") << "the locale writes a comma";
    for (auto [position, text] : positions) EXPECT_EQ(OptionsText::positionText(position), text);
    EXPECT_EQ(OptionsText::decimalValue("0.5"), 0.5f);
  }
  std::setlocale(LC_NUMERIC, "C");
  ::unsetenv("LOCPATH");
  fs::remove_all(folder);
  if (!comma) GTEST_SKIP() << "no comma locale can be made here";
}

}  // namespace
