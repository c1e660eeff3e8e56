#include "app/AppDelegate.h"

#include <cstdlib>

#include "app/ExceptionViewController.h"
#include "app/ImageFromColor.h"
#include "app/LaunchRequest.h"
#include "app/RefusalAlert.h"
#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "menu/MenuViewController.h"
#include "ui/Exception.h"
#include "ui/Font.h"
#include "ui/Log.h"
#include "ui/NavigationBar.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "worlds/ChoiceTableViewController.h"
#include "worlds/WorldListTableViewController.h"

namespace {

// Makes folder the game's data folder of this run, the game lock moving with
// it; false, with the reason shown, when another editor holds it.
bool moveToDataFolder(const std::string& folder) {
  TBKLevelDB::unlockMinecraft();
  TBKFileSource::useDataFolder(folder);
  try {
    TBKLevelDB::lockMinecraft();
    return true;
  } catch (const TBKException& error) {
    showError(error.reason());
    return false;
  }
}

}  // namespace

bool AppDelegate::applicationDidFinishLaunching(ui::Application&) {
  setWindow(std::make_shared<ui::Window>(ui::Screen::main().bounds()));
  window_->setBackgroundColor(ui::Color::white(1));

  try {
    std::string app = TBKFileSource::sharedSource().minecraftApp();
    std::string fontPath = app + (app.empty() || app.back() == '/' ? "" : "/") + "minecraft.ttf";
    // The kit reads the game's bundle from the variable; without one, its
    // pictures come from where the font does, the demo game's copy installed
    // with Gorvane.
    const char* named = std::getenv("TARNBOOK_GAME_APP");
    if (!named || !*named) bvl_setGameBundlePath(app);
    // Registering the font first scans the system's fonts, the longest part
    // of a start: the menu's pictures are decoded meanwhile.
    MenuViewController::prefetchPictures();
    GSFontAddFromFile(fontPath.c_str());
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
  auto menu = std::make_shared<MenuViewController>();
  navigation->addChildViewController(menu);
  window_->setRootViewController(navigation);
  window_->makeKeyAndVisible();
  followLaunchRequest(navigation, menu->worldsController);
  return true;
}

void AppDelegate::followLaunchRequest(const std::shared_ptr<ui::NavigationController>& navigation,
                                      const std::shared_ptr<WorldListTableViewController>& list) {
  const LaunchRequest& request = LaunchRequest::current();
  if (request.dataFolders.size() > 1) {
    std::weak_ptr<ui::NavigationController> weak = navigation;
    auto choose = [weak, list](const ChoiceTableViewController::Choice& folder) {
      if (!moveToDataFolder(folder.value)) return;
      if (auto navigation = weak.lock()) {
        navigation->popViewControllerAnimated(false);
        navigation->pushViewController(list, true);
      }
    };
    navigation->pushViewController(ChoiceTableViewController::forDataFolders(request.dataFolders, choose), false);
    navigation->setNavigationBarHidden(false, false);
    return;
  }
  std::string world = request.dataFolders.empty() ? "" : request.dataFolders[0].world;
  if (request.archive.empty() && world.empty()) return;
  navigation->pushViewController(list, false);
  navigation->setNavigationBarHidden(false, false);
  // Once the list has loaded its view.
  ui::Application::post([list, archive = request.archive, world] {
    archive.empty() ? list->openWorld(world) : list->importArchive(archive);
  });
}

void AppDelegate::applicationDidEnterBackground(ui::Application&) {
  TBKLevelDB::unlockMinecraft();
  std::exit(0);
}

void AppDelegate::applicationWillEnterForeground(ui::Application&) { TBKLevelDB::lockMinecraft(); }
