#include "options/OptionTableViewCell.h"

#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

#include "DemoGame.h"
#include "WorldReader.h"

namespace fs = std::filesystem;

namespace {

TEST(OptionsFileAccess, AWriteTheFileSystemRefusesIsReportedAndLeavesTheOldFileWhole) {
  DemoGame game;
  const fs::path path = game.gameDataFolder() / "minecraftpe" / "options.txt";
  const std::string before = worldreader::readFile(path);
  // Where the new file would be made, a folder: even root cannot write it.
  fs::create_directory(path.string() + ".gorvane-tmp");
  EXPECT_FALSE(OptionTableViewCell::setValue("Alex", "mp_username"));
  EXPECT_EQ(worldreader::readFile(path), before);
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
