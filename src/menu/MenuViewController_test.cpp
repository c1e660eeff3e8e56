#include "menu/MenuViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "options/OptionsTableViewController.h"
#include "ui/Font.h"
#include "ui/NavigationBar.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "ui/TestDriver.h"
#include "ui/Window.h"
#include "worlds/WorldListTableViewController.h"

namespace {

struct Placed {
  std::shared_ptr<ui::View> view;
  ui::Rect frame;
};

std::vector<Placed> snapshot(const ui::View& root) {
  std::vector<Placed> out;
  for (auto& v : root.subviews()) out.push_back({v, v->frame()});
  return out;
}

TEST(MenuLayout, ElementsSitWhereTheMenuComputesThemAtEachScreenWidth) {
  for (double W : {568.0, 480.0}) {
    MenuOnScreen s(W);
    const double H = 320;
    auto& m = *s.menu;
    ASSERT_TRUE(m.titleLabel && m.versionLabel && m.copyrightLabel && m.optionsButton && m.editButton);

    ui::Font big = ui::Font::named("Minecraft", 50), small = ui::Font::named("Minecraft", 16);
    ASSERT_TRUE(big.isAvailable()) << "the demo game's font is registered";
    ui::Size title = big.measure("Gorvane");
    auto picture = ui::Image::named("menu_view_title.png");
    ASSERT_NE(picture, nullptr);
    double aspect = picture->size().height / picture->size().width;
    EXPECT_EQ(m.titleLabel->frame(),
              ui::Rect((W - title.width) * 0.5, (H - title.height) * 0.25, title.width, title.width * aspect));
    EXPECT_EQ(m.titleLabel->contentMode(), ui::ContentMode::Center);
    ui::Size version = small.measure("v1.0.5");
    EXPECT_EQ(m.versionLabel->frame(), ui::Rect(4, H - 40, version.width, version.height));
    EXPECT_EQ(m.copyrightLabel->frame().origin, (ui::Point{4, H - 20}));
    EXPECT_EQ(m.optionsButton->frame(), ui::Rect(W - 68, H - 68, 64, 64));
    EXPECT_EQ(m.editButton->frame(), ui::Rect((W - 200) * 0.5, H * 0.5, 200, 60));
    EXPECT_EQ(m.editButton->title(), "Edit...");

    // Back to front: panorama, title, version, copyright, options, edit.
    std::vector<std::shared_ptr<ui::View>> expected = {m.background(),   m.titleLabel,    m.versionLabel,
                                                       m.copyrightLabel, m.optionsButton, m.editButton};
    EXPECT_EQ(m.view()->subviews(), expected);
    EXPECT_EQ(m.background()->frame(), ui::Rect(0, 0, W, H));
    EXPECT_TRUE(s.navigation->isNavigationBarHidden());
    EXPECT_TRUE(m.background()->isAnimating()) << "the panorama pans while the menu shows";
  }
}

TEST(MenuNavigation, LeavingAndComingBackReusesTheSameScreenAndMovesNothing) {
  MenuOnScreen s(568);
  auto before = snapshot(*s.menu->view());
  auto worlds = s.menu->worldsController;
  for (int visit = 0; visit < 2; ++visit) {
    s.driver.tap(*s.menu->editButton);
    s.driver.runUntilIdle();
    EXPECT_EQ(s.navigation->topViewController(), worlds) << "the same world list every time";
    EXPECT_FALSE(s.navigation->isNavigationBarHidden());
    EXPECT_FALSE(s.menu->background()->isAnimating()) << "the panorama stops while covered";
    s.navigation->popViewControllerAnimated(true);
    s.driver.runUntilIdle();
    EXPECT_TRUE(s.navigation->isNavigationBarHidden());
    EXPECT_TRUE(s.menu->background()->isAnimating());
  }
  auto after = snapshot(*s.menu->view());
  ASSERT_EQ(after.size(), before.size()) << "a second appearance adds nothing";
  for (size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].view, before[i].view);
    EXPECT_EQ(after[i].frame, before[i].frame);
  }
  s.driver.tap(*s.menu->optionsButton);
  s.driver.runUntilIdle();
  EXPECT_EQ(s.navigation->topViewController(), s.menu->optionsController);
}

}  // namespace
