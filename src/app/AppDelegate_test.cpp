#include "app/AppDelegate.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DemoGame.h"
#include "app/ExceptionViewController.h"
#include "app/GorvaneUncaughtExceptionHandler.h"
#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "menu/MenuViewController.h"
#include "ui/NavigationBar.h"
#include "ui/NavigationController.h"
#include "ui/TestDriver.h"

namespace {

const char* const kExpectedMessage =
    "An error has occured, if you forgot to Quit to Title in Minecraft, do that. Otherwise, report this to me at "
    "@Harrowby on twitter, install CrashReporter, and send me the crash report.";

TEST(Launch, PutsTheMenuUnderHalfTransparentWhiteBarsAndHoldsTheGame) {
  DemoGame game;
  ui::TestDriver driver;
  AppDelegate delegate;
  EXPECT_TRUE(delegate.applicationDidFinishLaunching(ui::Application::ensure()));
  driver.runUntilIdle();
  auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(delegate.window()->rootViewController());
  ASSERT_NE(navigation, nullptr);
  ASSERT_EQ(navigation->viewControllers().size(), 1u);
  EXPECT_NE(std::dynamic_pointer_cast<MenuViewController>(navigation->topViewController()), nullptr);
  EXPECT_TRUE(delegate.window()->isKeyWindow());
  // One point of white at half alpha, stretched over every bar.
  auto barImage = ui::NavigationBar::appearanceBackgroundImage(ui::BarMetrics::Default);
  ASSERT_NE(barImage, nullptr);
  EXPECT_EQ(barImage->size(), (ui::Size{1, 1}));
  EXPECT_NEAR(double(barImage->pixel(0, 0) >> 24), 127.5, 1.0);
  EXPECT_EQ(barImage->pixel(0, 0) & 0xffffff, 0xffffffu);
  EXPECT_TRUE(gameLockIsHeld(game.gameDataFolder()));
  EXPECT_TRUE(ui::Font::named("Minecraft", 16).isAvailable());
  TBKLevelDB::unlockMinecraft();
}

// The whole failure path in one process: the failed launch is logged, the
// alert shows, and its button ends the process through the uncaught path
// with the very exception caught at launch.
TEST(LaunchFailureDeathTest, TheAlertsButtonRaisesTheLaunchExceptionAgain) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  DemoGame game;
  int holder = open(game.gameDataFolder().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  auto bothLinesAgree = [](const std::string& err) {
    const std::string failed = "Initialization of Gorvane failed with exception: ";
    const std::string crashed = "Gorvane crashed with exception: ";
    auto a = err.find(failed), b = err.find(crashed);
    if (a == std::string::npos || b == std::string::npos || b < a) return false;
    std::string first = err.substr(a + failed.size(), err.find('\n', a) - a - failed.size());
    std::string second = err.substr(b + crashed.size(), err.find('\n', b) - b - crashed.size());
    return first == second && first.find("Another editor is using the game's data") == 0;
  };
  EXPECT_EXIT(
      {
        ui::setUncaughtExceptionHandler(GorvaneUncaughtExceptionHandler);
        ui::TestDriver driver;
        AppDelegate delegate;
        delegate.applicationDidFinishLaunching(ui::Application::ensure());
        driver.runUntilIdle();
        auto screen = std::dynamic_pointer_cast<ExceptionViewController>(delegate.window()->rootViewController());
        if (!screen) std::exit(3);
        if (ui::NavigationBar::appearanceBackgroundImage(ui::BarMetrics::Default)) std::exit(4);
        std::shared_ptr<ui::AlertView> alert;
        for (auto& view : delegate.window()->subviews()) {
          if (auto a = std::dynamic_pointer_cast<ui::AlertView>(view)) alert = a;
        }
        if (!alert || alert->title() != "Error" || alert->numberOfButtons() != 1 ||
            alert->buttonTitleAtIndex(0) != "Okay" || alert->message() != kExpectedMessage) {
          std::exit(5);
        }
        driver.tap(*alert->buttonAtIndex(0));
        driver.runUntilIdle();
        std::exit(6);  // not reached: the button ends the process
      },
      testing::KilledBySignal(SIGABRT), testing::Truly(bothLinesAgree));
  close(holder);
}

// Worlds without a game bundle still show in the game's pictures and
// lettering: the demo game's copy beside the program stands in. In a fresh
// process, so that no earlier test has registered the font.
TEST(LaunchDeathTest, WithoutAGameBundleTheDemoGamesCopyBesideTheProgramIsUsed) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  DemoGame game;
  ::unsetenv("TARNBOOK_GAME_APP");
  EXPECT_EXIT(
      {
        ui::TestDriver driver;
        AppDelegate delegate;
        delegate.applicationDidFinishLaunching(ui::Application::ensure());
        driver.runUntilIdle();
        auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(delegate.window()->rootViewController());
        if (!navigation) std::exit(3);
        std::error_code error;
        if (!std::filesystem::equivalent(bvl_gameBundlePath(), DemoGame::binDirectory() / "DemoGame", error)) {
          std::exit(4);
        }
        if (!bvl_imageNamed("gui", "png") || !bvl_imageNamed("touchgui", "png")) std::exit(5);
        if (!ui::Font::named("Minecraft", 16).isAvailable()) std::exit(6);
        std::exit(0);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
