#pragma once

#include <memory>

#include "ui/Application.h"
#include "ui/NavigationController.h"
#include "ui/Window.h"

class WorldListTableViewController;

// Builds the window, registers the game's font, holds the game while the
// editor runs and lets it go (ending the process) when sent to the background.
// What the command line asked for (LaunchRequest) follows the menu: an
// archive imported and its world opened, one world's folder opened, or the
// users' data folders of another device offered to choose from.
class AppDelegate : public ui::ApplicationDelegate {
 public:
  bool applicationDidFinishLaunching(ui::Application& application) override;
  void applicationWillResignActive(ui::Application&) override {}
  void applicationDidBecomeActive(ui::Application&) override {}
  void applicationDidEnterBackground(ui::Application& application) override;
  void applicationWillEnterForeground(ui::Application& application) override;
  void applicationWillTerminate(ui::Application&) override {}

  std::shared_ptr<ui::Window> window() const { return window_; }
  void setWindow(std::shared_ptr<ui::Window> window) { window_ = std::move(window); }

 private:
  void followLaunchRequest(const std::shared_ptr<ui::NavigationController>& navigation,
                           const std::shared_ptr<WorldListTableViewController>& list);

  std::shared_ptr<ui::Window> window_;
};
