#pragma once

#include <memory>

#include "ui/Application.h"
#include "ui/Window.h"

// Builds the window, registers the game's font, holds the game while the
// editor runs and lets it go (ending the process) when sent to the background.
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
  std::shared_ptr<ui::Window> window_;
};
