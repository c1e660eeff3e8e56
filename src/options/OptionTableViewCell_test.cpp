#include "options/OptionTableViewCell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "DemoGame.h"

namespace fs = std::filesystem;

namespace {

// The options file of a private copy of the demo game, read and written
// with plain file calls, not with the code under test.
struct OptionsFile {
  DemoGame game;
  fs::path path = game.gameDataFolder() / "minecraftpe" / "options.txt";

  std::string bytes() const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  void write(const std::string& text) const { std::ofstream(path, std::ios::binary | std::ios::trunc) << text; }
  // An old modification time, so that any rewrite shows.
  void age() const {
    timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }
  timespec modified() const {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mtim;
  }
  bool modifiedSinceAged() const { return modified().tv_sec != 1000000000; }
};

struct Change {
  const char* what;
  std::string before;
  const char* key;
  std::optional<std::string> read;  // what valueForKey gives
  std::string value;                // what setValue writes
  std::string after;                // the whole file afterwards
};

TEST(OptionsFileAccess, ReadsAndReplacesOnlyTheValueOfTheLineThatBeginsWithTheKey) {
  const std::string tail = "game_thirdperson:0\nctrl_sensitivity:0.5\n";
  const Change changes[] = {
      {"the two-line example", "mp_username:Builder\ngame_difficulty:2\n", "game_difficulty", "2", "3",
       "mp_username:Builder\ngame_difficulty:3\n"},
      {"a longer name", "mp_username:Steve\n" + tail, "mp_username", "Steve", "Steve the Builder of Towers",
       "mp_username:Steve the Builder of Towers\n" + tail},
      {"a shorter name", "mp_username:Steve\n" + tail, "mp_username", "Steve", "Al", "mp_username:Al\n" + tail},
      {"an empty name", "mp_username:Steve\n" + tail, "mp_username", "Steve", "", "mp_username:\n" + tail},
      {"an empty value filled", "mp_username:\n" + tail, "mp_username", "", "Alex", "mp_username:Alex\n" + tail},
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
      {"a byte-order mark before the first key", "\xEF\xBB\xBFmp_username:Steve\n", "mp_username", "Steve", "Alex",
       "\xEF\xBB\xBFmp_username:Alex\n"},
      {"text beyond ASCII", "mp_username:J\xC3\xBCrgen\ngame_difficulty:2\n", "mp_username", "J\xC3\xBCrgen",
       "\xE5\xBB\xBA\xE7\xAF\x89\xE5\xB8\xAB", "mp_username:\xE5\xBB\xBA\xE7\xAF\x89\xE5\xB8\xAB\ngame_difficulty:2\n"},
  };
  for (const auto& change : changes) {
    SCOPED_TRACE(change.what);
    OptionsFile file;
    file.write(change.before);
    EXPECT_EQ(OptionTableViewCell::valueForKey(change.key), change.read);
    EXPECT_TRUE(OptionTableViewCell::setValue(change.value, change.key));
    EXPECT_EQ(file.bytes(), change.after);
    if (change.value.find('\n') == std::string::npos) {
      EXPECT_EQ(OptionTableViewCell::valueForKey(change.key), change.value) << "a write reads back unchanged";
    }
  }
}

TEST(OptionsFileAccess, WhatCannotBeFoundOrWouldChangeTheFilesLinesIsNeverWritten) {
  const std::string valid = "mp_username:Steve\ngame_difficulty:2\n";
  struct Refusal {
    const char* what;
    std::string before;
    const char* key;
    std::string value;
    bool readable;  // whether mp_username still reads
  } refusals[] = {
      {"a key not in the file", valid, "gfx_fancygraphics", "1", true},
      {"a key only inside a value", "mp_username:gfx_fancygraphics\n", "gfx_fancygraphics", "1", true},
      {"a value with a line feed", valid, "mp_username", "Steve\ngfx_fancygraphics:1", true},
      {"a value with a carriage return", valid, "mp_username", "Steve\r", true},
      {"a value that is not UTF-8", valid, "mp_username",
       "St\xFF"
       "eve",
       true},
      {"a file that is not UTF-8", "mp_username:St\xC3(ve\ngame_difficulty:2\n", "game_difficulty", "3", false},
      {"a file with an encoded surrogate", "mp_username:\xED\xA0\x80\ngame_difficulty:2\n", "game_difficulty", "3",
       false},
      {"a file with an overlong encoding", "mp_username:\xC0\xAF\ngame_difficulty:2\n", "game_difficulty", "3", false},
  };
  for (const auto& refusal : refusals) {
    SCOPED_TRACE(refusal.what);
    OptionsFile file;
    file.write(refusal.before);
    file.age();
    if (!refusal.readable) {
      EXPECT_EQ(OptionTableViewCell::valueForKey("game_difficulty"), std::nullopt);
    }
    EXPECT_EQ(OptionTableViewCell::valueForKey("gfx_fancygraphics"), std::nullopt);
    EXPECT_FALSE(OptionTableViewCell::setValue(refusal.value, refusal.key));
    EXPECT_EQ(file.bytes(), refusal.before);
    EXPECT_FALSE(file.modifiedSinceAged()) << "the file is not even rewritten";
    EXPECT_FALSE(fs::exists(file.game.gameDataFolder() / "gorvane-backups" / "options")) << "no backup either";
  }
}

TEST(OptionsFileAccess, AWriteTheFileSystemRefusesIsReportedAndLeavesTheOldFileWhole) {
  OptionsFile file;
  std::string before = file.bytes();
  // Where the new file would be made, a folder: even root cannot write it.
  fs::create_directory(file.path.string() + ".gorvane-tmp");
  EXPECT_FALSE(OptionTableViewCell::setValue("Alex", "mp_username"));
  EXPECT_EQ(file.bytes(), before);
  EXPECT_EQ(OptionTableViewCell::valueForKey("mp_username"), "Steve");
}

// A desktop launcher keeps com.mojang itself, not the phone's sandbox: the
// variable may name that folder, and the options are found in it all the same.
TEST(OptionsFileAccess, TheFileIsFoundInADesktopLaunchersLayoutToo) {
  OptionsFile file;
  ::setenv("TARNBOOK_GAME_SANDBOX", file.game.gameDataFolder().c_str(), 1);
  EXPECT_EQ(OptionTableViewCell::valueForKey("mp_username"), "Steve");
  EXPECT_TRUE(OptionTableViewCell::setValue("Alex", "mp_username"));
  EXPECT_EQ(file.bytes().substr(0, 17), "mp_username:Alex\n");
}

TEST(OptionsFileAccess, AMissingFileStaysMissing) {
  OptionsFile file;
  fs::remove(file.path);
  EXPECT_EQ(OptionTableViewCell::valueForKey("mp_username"), std::nullopt);
  EXPECT_FALSE(OptionTableViewCell::setValue("Alex", "mp_username"));
  EXPECT_FALSE(fs::exists(file.path));
  EXPECT_EQ(std::distance(fs::directory_iterator(file.path.parent_path()), fs::directory_iterator()), 0);
}

TEST(OptionsFileAccess, TheFirstWriteKeepsABackupAndTheFileKeepsItsOwnerAndMode) {
  OptionsFile file;
  std::string original = file.bytes();
  // The game's own user, as on the device, where the editor runs as root.
  uid_t owner = ::geteuid() == 0 ? 501 : ::geteuid();
  gid_t group = ::getegid() == 0 ? 501 : ::getegid();
  ASSERT_EQ(::chown(file.path.c_str(), owner, group), 0);
  ASSERT_EQ(::chmod(file.path.c_str(), 0640), 0);

  ASSERT_TRUE(OptionTableViewCell::setValue("Alex", "mp_username"));
  ASSERT_TRUE(OptionTableViewCell::setValue("3", "game_difficulty"));

  struct stat info {};
  ASSERT_EQ(::stat(file.path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, owner);
  EXPECT_EQ(info.st_gid, group);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(std::distance(fs::directory_iterator(file.path.parent_path()), fs::directory_iterator()), 1)
      << "nothing left beside the file";

  fs::path backups = file.game.gameDataFolder() / "gorvane-backups" / "options";
  std::vector<fs::path> made(fs::directory_iterator(backups), fs::directory_iterator{});
  ASSERT_EQ(made.size(), 1u) << "one backup a run, before the first write";
  std::ifstream kept(made[0] / "options.txt", std::ios::binary);
  std::stringstream keptBytes;
  keptBytes << kept.rdbuf();
  EXPECT_EQ(keptBytes.str(), original);
}

TEST(OptionsValues, TheFilesTextBecomesTheNumbersTheWidgetsTake) {
  struct Number {
    std::optional<std::string> text;
    int integer;
    float decimal;
  } numbers[] = {
      {std::nullopt, 0, 0},
      {"", 0, 0},
      {"2", 2, 2},
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
    EXPECT_EQ(OptionTableViewCell::integerValue(number.text), number.integer);
    EXPECT_EQ(OptionTableViewCell::decimalValue(number.text), number.decimal);
  }
}

// The user's locale may write a decimal comma (the application's toolkit
// adopts it at start); the file's numbers keep the full stop.
TEST(OptionsValues, SliderPositionsAreWrittenWithAFullStopWhateverTheLocale) {
  const std::pair<float, const char*> positions[] = {
      {0.5f, "0.500000"}, {1, "1.000000"}, {0, "0.000000"}, {0.1f, "0.100000"}, {0.123456789f, "0.123457"}};
  for (auto [position, text] : positions) EXPECT_EQ(OptionTableViewCell::positionText(position), text);

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
    for (auto [position, text] : positions) EXPECT_EQ(OptionTableViewCell::positionText(position), text);
    EXPECT_EQ(OptionTableViewCell::decimalValue("0.5"), 0.5f);
  }
  std::setlocale(LC_NUMERIC, "C");
  ::unsetenv("LOCPATH");
  fs::remove_all(folder);
  if (!comma) GTEST_SKIP() << "no comma locale can be made here";
}

}  // namespace
