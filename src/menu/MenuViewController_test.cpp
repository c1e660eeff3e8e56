#include "menu/MenuViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "options/OptionsTableViewController.h"

namespace {

// The title picture's height follows its width at the picture's aspect.
TEST(MenuLayout, ElementsSitAtTheirFrames) {
  MenuOnScreen s(568);
  auto& m = *s.menu;
  EXPECT_EQ(m.titleLabel->frame(), ui::Rect(152.75, 65.9375, 262.5, 64.12213740458014));
  EXPECT_EQ(m.optionsButton->frame(), ui::Rect(500, 252, 64, 64));
  EXPECT_EQ(m.editButton->frame(), ui::Rect(184, 160, 200, 60));
  EXPECT_EQ(MenuOnScreen(480).menu->editButton->frame(), ui::Rect(140, 160, 200, 60)) << "centred at any width";
}

TEST(MenuNavigation, EachVisitReusesTheSameScreensAndEachPanoramaPansOnlyWhileShown) {
  MenuOnScreen s(568);
  auto views = s.menu->view()->subviews();
  auto worlds = s.menu->worldsController;
  EXPECT_TRUE(s.menu->background()->isAnimating());
  for (int visit = 0; visit < 2; ++visit) {
    s.openWorldList();
    EXPECT_EQ(s.navigation->topViewController(), worlds) << "the same world list every time";
    EXPECT_FALSE(s.navigation->isNavigationBarHidden());
    EXPECT_FALSE(s.menu->background()->isAnimating()) << "the panorama stops while covered";
    EXPECT_TRUE(worlds->background()->isAnimating()) << "and the list's own pans";
    s.back();
    EXPECT_TRUE(s.navigation->isNavigationBarHidden());
    EXPECT_TRUE(s.menu->background()->isAnimating());
    EXPECT_FALSE(worlds->background()->isAnimating());
  }
  EXPECT_EQ(s.menu->view()->subviews(), views) << "a second appearance adds nothing";
  EXPECT_EQ(worlds->view()->subviews().size(), 4u) << "panorama, dimming, panel and table, once";
  s.tap(*s.menu->optionsButton);
  EXPECT_EQ(s.navigation->topViewController(), s.menu->optionsController);
}

}  // namespace
