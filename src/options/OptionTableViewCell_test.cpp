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

}  // namespace
