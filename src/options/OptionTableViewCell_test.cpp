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

#include <gtest/gtest.h>

#include "DemoGame.h"
#include "WorldReader.h"

namespace fs = std::filesystem;

namespace {

// The options file of a private copy of the demo game, read and written
// with plain file calls, not with the code under test.
struct OptionsFile {
  DemoGame game;
  fs::path path = game.gameDataFolder() / "minecraftpe" / "options.txt";

  std::string bytes() const { return worldreader::readFile(path); }
  void write(const std::string& text) const { std::ofstream(path, std::ios::binary | std::ios::trunc) << text; }
  // An old modification time, so that any rewrite shows.
  void age() const {
    timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }
  bool modifiedSinceAged() const {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mtim.tv_sec != 1000000000;
  }
};

// Which lines and values a change may touch is OptionsText's (its tests);
// here, that the file on disk is read and replaced through it.
TEST(OptionsFileAccess, AChangeReachesTheFileAndTheFirstOfARunKeepsABackup) {
  OptionsFile file;
  std::string original = file.bytes();
  ASSERT_EQ(original.substr(0, 18), "mp_username:Steve\n");
  EXPECT_EQ(OptionTableViewCell::valueForKey("mp_username"), "Steve");
  ASSERT_TRUE(OptionTableViewCell::setValue("Alex", "mp_username"));
  ASSERT_TRUE(OptionTableViewCell::setValue("Al", "mp_username"));
  EXPECT_EQ(file.bytes(), "mp_username:Al\n" + original.substr(18));
  EXPECT_EQ(OptionTableViewCell::valueForKey("mp_username"), "Al");

  fs::path backups = file.game.gameDataFolder() / "gorvane-backups" / "options";
  std::vector<fs::path> made(fs::directory_iterator(backups), fs::directory_iterator{});
  ASSERT_EQ(made.size(), 1u) << "one backup a run, before the first write";
  EXPECT_EQ(worldreader::readFile(made[0] / "options.txt"), original);
}

TEST(OptionsFileAccess, ARefusedChangeIsNeitherWrittenNorBackedUp) {
  const std::pair<std::string, const char*> refusals[] = {
      {"mp_username:\xC0\xAF\ngame_difficulty:2\n", "game_difficulty"},  // not UTF-8
      {"mp_username:gfx_fancygraphics\n", "gfx_fancygraphics"},          // only inside a value
  };
  for (const auto& [before, key] : refusals) {
    SCOPED_TRACE(key);
    OptionsFile file;
    file.write(before);
    file.age();
    EXPECT_EQ(OptionTableViewCell::valueForKey(key), std::nullopt);
    EXPECT_FALSE(OptionTableViewCell::setValue("1", key));
    EXPECT_EQ(file.bytes(), before);
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
