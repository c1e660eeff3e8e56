#pragma once

#include <memory>

#include "external/Bevel.h"
#include "ui/ImageView.h"
#include "ui/ViewController.h"

class OptionsTableViewController;
class WorldListTableViewController;

// The first screen: title, version, copyright and the two ways on, over the
// moving panorama. The two screens it leads to are made once and reused.
class MenuViewController : public ui::ViewController {
 public:
  MenuViewController();
  ~MenuViewController() override;

  // Starts decoding the pictures the menu's first frame shows (its title,
  // buttons and the panorama's first two faces) on another thread.
  static void prefetchPictures();

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  std::shared_ptr<BVLPanorama> background() const { return background_; }
  void setBackground(std::shared_ptr<BVLPanorama> background) { background_ = std::move(background); }

  // What the first appearance built; null before it.
  std::shared_ptr<ui::ImageView> titleLabel;
  std::shared_ptr<BVLLabel> versionLabel;
  std::shared_ptr<BVLLabel> copyrightLabel;
  std::shared_ptr<BVLButton> optionsButton;
  std::shared_ptr<BVLButton> editButton;
  std::shared_ptr<OptionsTableViewController> optionsController;
  std::shared_ptr<WorldListTableViewController> worldsController;

 private:
  void buildElements();
  void open(const std::shared_ptr<ui::ViewController>& screen);

  std::shared_ptr<BVLPanorama> background_;
};
