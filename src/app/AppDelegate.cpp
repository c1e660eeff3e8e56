#include "app/AppDelegate.h"

#include <cstdlib>

#include "app/ExceptionViewController.h"
#include "app/ImageFromColor.h"
#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "menu/MenuViewController.h"
#include "ui/Exception.h"
#include "ui/Font.h"
#include "ui/Log.h"
#include "ui/NavigationBar.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"

bool AppDelegate::applicationDidFinishLaunching(ui::Application&) {
  setWindow(std::make_shared<ui::Window>(ui::Screen::main().bounds()));
  window_->setBackgroundColor(ui::Color::white(1));

  try {
    std::string app = TBKFileSource::sharedSource().minecraftApp();
    std::string fontPath = app + (app.empty() || app.back() == '/' ? "" : "/") + "minecraft.ttf";
    GSFontAddFromFile(fontPath.c_str());
    // The kit reads the game's bundle from the variable; without one, its
    // pictures come from where the font did, the demo game's copy installed
    // with Gorvane.
    const char* named = std::getenv("TARNBOOK_GAME_APP");
    if (!named || !*named) bvl_setGameBundlePath(app);
    TBKLevelDB::lockMinecraft();
  } catch (const std::exception&) {
    std::exception_ptr error = std::current_exception();
    ui::log("Initialization of Gorvane failed with exception: %@", ui::exceptionFrom(error));
    window_->setRootViewController(std::make_shared<ExceptionViewController>(error));
    window_->makeKeyAndVisible();
    return true;
  }

  ui::NavigationBar::setAppearanceBackgroundImage(ImageFromColor(ui::Color::white(1.0, 0.5)), ui::BarMetrics::Default);
  auto navigation = std::make_shared<ui::NavigationController>();
  navigation->addChildViewController(std::make_shared<MenuViewController>());
  window_->setRootViewController(navigation);
  window_->makeKeyAndVisible();
  return true;
}

void AppDelegate::applicationDidEnterBackground(ui::Application&) {
  TBKLevelDB::unlockMinecraft();
  std::exit(0);
}

void AppDelegate::applicationWillEnterForeground(ui::Application&) { TBKLevelDB::lockMinecraft(); }
