#include "menu/MenuViewController.h"

#include "options/OptionsTableViewController.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "worlds/WorldListTableViewController.h"

namespace {
const char* const version = "v1.0.5";
const char* const copyright = "(c) 2026 The Gorvane developers";
}  // namespace

MenuViewController::MenuViewController() {
  ui::Rect screen = ui::Screen::main().bounds();
  setBackground(std::make_shared<BVLPanorama>(ui::Rect(0, 0, screen.width(), screen.height())));
  optionsController = std::make_shared<OptionsTableViewController>();
  worldsController = std::make_shared<WorldListTableViewController>();
}

void MenuViewController::prefetchPictures() {
  std::vector<std::string> paths = ui::Image::pathsNamed("menu_view_title.png");
  for (const char* name : {"touchgui", "gui", "background/panorama_0", "background/panorama_1"}) {
    auto more = bvl_imagePaths(name, "png");
    paths.insert(paths.end(), more.begin(), more.end());
  }
  ui::Image::prefetch(paths);
}

void MenuViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  view()->insertSubview(background_, 0);
}

MenuViewController::~MenuViewController() = default;

void MenuViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true, false);
  if (titleLabel) return;
  buildElements();
}

// Laid out once, with the view's size at the first appearance.
void MenuViewController::buildElements() {
  auto root = view();
  double W = root->bounds().width();
  double H = root->bounds().height();
  std::weak_ptr<ViewController> weakSelf = weak_from_this();

  ui::Size title = ui::Font::named("Minecraft", 50).measure("Gorvane");
  auto picture = ui::Image::named("menu_view_title.png");
  double aspect = picture && picture->size().width > 0 ? picture->size().height / picture->size().width : 0;
  titleLabel = std::make_shared<ui::ImageView>(
      ui::Rect((W - title.width) * 0.5, (H - title.height) * 0.25, title.width, title.width * aspect));
  titleLabel->setContentMode(ui::ContentMode::Center);
  if (picture) titleLabel->setImage(bvl_resize(picture, titleLabel->bounds().size));
  root->addSubview(titleLabel);

  ui::Font font = ui::Font::named("Minecraft", 16);
  ui::Size versionSize = font.measure(version);
  versionLabel = std::make_shared<BVLLabel>(ui::Rect(4, H - 40, versionSize.width, versionSize.height));
  versionLabel->setText(version);
  ui::Size copyrightSize = font.measure(copyright);
  copyrightLabel = std::make_shared<BVLLabel>(ui::Rect(4, H - 20, copyrightSize.width, copyrightSize.height));
  copyrightLabel->setText(copyright);
  root->addSubview(versionLabel);
  root->addSubview(copyrightLabel);

  optionsButton = std::make_shared<BVLButton>(ui::Rect(W - 68, H - 68, 64, 64), [weakSelf](BVLButton&) {
    if (auto self = std::static_pointer_cast<MenuViewController>(weakSelf.lock())) self->open(self->optionsController);
  });
  auto icon = bvl_imageNamed("touchgui", "png");
  if (icon)
    optionsButton->setImage(bvl_resize(bvl_subImageWithFrame(icon, ui::Rect(219, 0, 20, 20)), ui::Size{40, 40}),
                            ui::ControlState::Normal);
  root->addSubview(optionsButton);

  editButton = std::make_shared<BVLButton>(ui::Rect((W - 200) * 0.5, H * 0.5, 200, 60), [weakSelf](BVLButton&) {
    if (auto self = std::static_pointer_cast<MenuViewController>(weakSelf.lock())) self->open(self->worldsController);
  });
  editButton->setTitle("Edit...", ui::ControlState::Normal);
  root->addSubview(editButton);
}

void MenuViewController::open(const std::shared_ptr<ui::ViewController>& screen) {
  auto navigation = navigationController();
  if (!navigation) return;
  navigation->pushViewController(screen, true);
  navigation->setNavigationBarHidden(false, true);
}

void MenuViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void MenuViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
}
