#include "app/LaunchRequest.h"

#include <gtest/gtest.h>

#include "DemoGame.h"
#include "app/AppDelegate.h"
#include "level/LevelTableViewController.h"
#include "ui/NavigationController.h"
#include "ui/TestDriver.h"
#include "worlds/ChoiceTableViewController.h"
#include "worlds/WorldListTableViewController.h"

namespace fs = std::filesystem;

namespace {

TEST(LaunchRequest, AnArchiveAFolderAndTheExportFolderAreTakenFromTheArguments) {
  struct Case {
    std::vector<std::string> arguments;
    const char* taken;    // archive|folder|export folder
    const char* problem;  // how the problem begins
  } cases[] = {
      {{}, "||", ""},
      {{"a.McWorld", "--export-to=out"}, "/home/u/a.McWorld||/home/u/out", ""},
      {{"a.mcworld", "b.mcworld"}, "/home/u/a.mcworld||", "Gorvane takes one world archive"},
      {{"/nowhere/x", "-platform", "y"}, "|/nowhere/x|", "No worlds of the game were found in /nowhere/x"},
  };
  for (const auto& c : cases) {
    LaunchRequest request = LaunchRequest::fromArguments(c.arguments, "/home/u");
    EXPECT_EQ(request.archive + "|" + request.folder + "|" + request.exportFolder, c.taken);
    EXPECT_EQ(request.problem.substr(0, std::string(c.problem).size()), c.problem);
  }
}

// The program started on what the command line names: an archive is
// imported and its world opened, one world's folder opened, and another
// device's users offered to choose from, the game lock moving with the
// choice.
TEST(LaunchRequest, TheProgramFollowsWhatTheCommandLineNames) {
  DemoGame game;
  ui::TestDriver driver;
  fs::path worlds = game.gameDataFolder() / "minecraftWorlds";
  auto archive = TBKWorldArchive::exportWorld(worlds / "Lakeside Survival", "Lakeside Survival", game.sandbox());
  fs::path bedrock = game.sandbox() / "Minecraft Bedrock";
  for (const char* user : {"2535", "Shared"}) {
    fs::create_directories(bedrock / "Users" / user / "games");
    fs::copy(game.gameDataFolder(), bedrock / "Users" / user / "games/com.mojang", fs::copy_options::recursive);
  }
  auto launch = [&](const std::vector<std::string>& arguments) {
    LaunchRequest request = LaunchRequest::fromArguments(arguments, "/");
    EXPECT_EQ(request.problem, "");
    if (!request.dataFolders.empty()) TBKFileSource::useDataFolder(request.dataFolders[0].path);
    LaunchRequest::setCurrent(request);
    auto delegate = std::make_shared<AppDelegate>();
    delegate->applicationDidFinishLaunching(ui::Application::ensure());
    driver.runUntilIdle(30);
    return std::dynamic_pointer_cast<ui::NavigationController>(delegate->window()->rootViewController());
  };
  auto done = [] {
    TBKLevelDB::unlockMinecraft();
    TBKFileSource::useDataFolder("");
    LaunchRequest::setCurrent({});
  };

  auto before = TBKLevelDB::worlds();
  auto level = std::dynamic_pointer_cast<LevelTableViewController>(launch({*archive})->topViewController());
  ASSERT_NE(level, nullptr) << "the imported world opens";
  EXPECT_EQ(TBKLevelDB::worlds().size(), before.size() + 1);
  EXPECT_EQ(level->level->stringForKey("LevelName"), "Lakeside Survival");
  EXPECT_EQ(fs::path(level->_db->worldFolder()).parent_path(), worlds);
  done();

  level = std::dynamic_pointer_cast<LevelTableViewController>(
      launch({(worlds / "Old Cave World").string()})->topViewController());
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->_db->worldFolder(), (worlds / "Old Cave World").string());
  done();

  auto navigation = launch({bedrock.string()});
  auto users = std::dynamic_pointer_cast<ChoiceTableViewController>(navigation->topViewController());
  ASSERT_NE(users, nullptr);
  ASSERT_EQ(users->choices().size(), 2u);
  EXPECT_EQ(users->choices()[1].title, "Shared by every user");
  users->didSelectRowAtIndexPath(*users->tableView(), ui::IndexPath{0, 1});
  driver.runUntilIdle();
  EXPECT_NE(std::dynamic_pointer_cast<WorldListTableViewController>(navigation->topViewController()), nullptr);
  EXPECT_EQ(TBKFileSource::sharedSource().gameDataFolder(), (bedrock / "Users/Shared/games/com.mojang").string());
  EXPECT_TRUE(gameLockIsHeld(bedrock / "Users/Shared/games/com.mojang"));
  EXPECT_FALSE(gameLockIsHeld(bedrock / "Users/2535/games/com.mojang"));
  done();
}

}  // namespace
