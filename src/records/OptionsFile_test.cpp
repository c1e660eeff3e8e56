#include "records/OptionsFile.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "DemoGame.h"
#include "TodaysOptions.h"
#include "WorldReader.h"

namespace fs = std::filesystem;

namespace {

using Edit = OptionsFile::Edit;

// A private copy of the demo game, whose options file the tests read and
// write with plain file calls.
struct Game {
  DemoGame game;
  fs::path path = game.gameDataFolder() / "minecraftpe" / "options.txt";
  fs::path backups = game.gameDataFolder() / "gorvane-backups" / "options";
  OptionsFile file;

  std::string text() const { return worldreader::readFile(path); }
  void setText(const std::optional<std::string>& text) const {
    if (text) std::ofstream(path, std::ios::binary | std::ios::trunc) << *text;
    if (!text) fs::remove(path);
  }
};

// Each edit reads and writes its own way (what the texts mean is
// OptionsText's); whatever is refused comes back as one sentence, and the
// file stays as it was, byte for byte.
TEST(OptionsFile, EachEditReadsAndWritesItsOwnWayAndARefusalLeavesTheFileAsItWas) {
  const std::string withReturns = "mp_username:Steve\r\ngame_difficulty:2\r\n";
  const std::string notUTF8 = "mp_username:St\xFFve\ngame_difficulty_new:2\n";
  const std::string todays = todaysOptionsFile();
  std::string todaysAfter = todays;
  todaysAfter.replace(todays.find("game_difficulty_new:2"), 21, "game_difficulty_new:3");
  struct Case {
    const char* what;
    std::optional<std::string> file;
    Edit edit;
    const char* key;
    std::optional<std::string> read;
    const char* refusal;     // "" when written
    std::string after = {};  // when written
    bool todays = false;
  } cases[] = {
      {"an early file with carriage returns", withReturns, Edit::Early, "mp_username", "Steve\r", "",
       "mp_username:Alex\ngame_difficulty:2\r\n"},
      {"an early file with carriage returns", withReturns, Edit::Checked, "mp_username", "Steve\r",
       "options.txt was left as it was: line 1 holds a carriage return."},
      {"a file not UTF-8 elsewhere",
       notUTF8,
       Edit::Early,
       "game_difficulty_new",
       std::nullopt,
       "options.txt was left as it was: it holds bytes that are not UTF-8 text.",
       {},
       true},
      {"a file not UTF-8 elsewhere",
       notUTF8,
       Edit::Checked,
       "game_difficulty_new",
       "2",
       "options.txt was left as it was: it holds bytes that are not UTF-8 text.",
       {},
       true},
      {"a key gone from the file", withReturns, Edit::Early, "dev_autoloadlevel", std::nullopt,
       "options.txt was left as it was: it no longer holds dev_autoloadlevel."},
      {"no file", std::nullopt, Edit::Checked, "mp_username", std::nullopt,
       "options.txt was left as it was: there is no options file."},
      {"today's file", todays, Edit::Checked, "game_difficulty_new", "2", "", todaysAfter, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.what) + (c.edit == Edit::Checked ? ", checked" : ""));
    Game g;
    g.setText(c.file);
    EXPECT_EQ(g.file.value(c.key, c.edit), c.read);
    EXPECT_EQ(g.file.isTodays(), c.todays);
    Outcome outcome = g.file.write(c.key, std::string(c.key) == "mp_username" ? "Alex" : "3", c.edit);
    EXPECT_EQ(outcome.value_or(Refusal{}).reason, c.refusal);
    EXPECT_EQ(fs::exists(g.path), c.file.has_value());
    if (c.file) {
      EXPECT_EQ(g.text(), *c.refusal ? *c.file : c.after);
    }
  }
}

// The backup is the file before the run's first write; a refused change
// makes none, and later writes keep the first.
TEST(OptionsFile, TheFirstWriteOfARunKeepsTheFileAsItWasAndNoOtherWriteDoes) {
  Game g;
  const std::string before = g.text();
  ASSERT_TRUE(g.file.write("gfx_fancyskies", "1", Edit::Early));
  EXPECT_FALSE(fs::exists(g.backups));
  EXPECT_EQ(g.file.write("mp_username", "Alex", Edit::Early), std::nullopt);
  EXPECT_EQ(g.file.write("mp_username", "Bob", Edit::Checked), std::nullopt);
  EXPECT_EQ(g.file.value("mp_username", Edit::Early), "Bob");
  std::vector<fs::path> kept;
  for (const auto& entry : fs::directory_iterator(g.backups)) kept.push_back(entry.path() / "options.txt");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(worldreader::readFile(kept[0]), before);
}

TEST(OptionsFile, AWriteTheFileSystemRefusesLeavesTheOldFileWholeAndSaysWhy) {
  Game g;
  const std::string before = g.text();
  // Where the new file would be made, a folder: even root cannot write it.
  fs::create_directory(g.path.string() + ".gorvane-tmp");
  Outcome outcome = g.file.write("mp_username", "Alex", Edit::Early);
  ASSERT_TRUE(outcome);
  EXPECT_TRUE(outcome->reason.starts_with("options.txt was left as it was: ")) << outcome->reason;
  EXPECT_NE(outcome->reason.find(g.path.string()), std::string::npos) << "the system's reason names the file";
  EXPECT_TRUE(outcome->reason.ends_with(".") && !outcome->reason.ends_with("..")) << outcome->reason;
  EXPECT_EQ(g.text(), before);
  EXPECT_EQ(g.file.value("mp_username", Edit::Early), "Steve");
}

}  // namespace
