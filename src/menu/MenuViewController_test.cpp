#include "menu/MenuViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "options/OptionsTableViewController.h"

namespace {

TEST(MenuLayout, ElementsSitAtTheirFramesAtEachScreenWidth) {
  struct Width {
    double width;
    ui::Rect title, version, options, edit;
  } widths[] = {
      // The title picture's height follows its width at the picture's aspect.
      {568, ui::Rect(152.75, 65.9375, 262.5, 64.12213740458014), ui::Rect(4, 280, 56, 18), ui::Rect(500, 252, 64, 64),
       ui::Rect(184, 160, 200, 60)},
      {480, ui::Rect(108.75, 65.9375, 262.5, 64.12213740458014), ui::Rect(4, 280, 56, 18), ui::Rect(412, 252, 64, 64),
       ui::Rect(140, 160, 200, 60)},
  };
  for (const Width& w : widths) {
    SCOPED_TRACE(w.width);
    MenuOnScreen s(w.width);
    auto& m = *s.menu;
    EXPECT_EQ(m.titleLabel->frame(), w.title);
    EXPECT_EQ(m.versionLabel->frame(), w.version);
    EXPECT_EQ(m.copyrightLabel->frame().origin, (ui::Point{4, 300}));
    EXPECT_EQ(m.optionsButton->frame(), w.options);
    EXPECT_EQ(m.editButton->frame(), w.edit);
    EXPECT_EQ(m.background()->frame(), ui::Rect(0, 0, w.width, 320));
  }
}

TEST(MenuNavigation, EachVisitReusesTheSameScreensAndThePanoramaPansOnlyWhileShown) {
  MenuOnScreen s(568);
  auto views = s.menu->view()->subviews();
  auto worlds = s.menu->worldsController;
  EXPECT_TRUE(s.menu->background()->isAnimating());
  for (int visit = 0; visit < 2; ++visit) {
    s.openWorldList();
    EXPECT_EQ(s.navigation->topViewController(), worlds) << "the same world list every time";
    EXPECT_FALSE(s.navigation->isNavigationBarHidden());
    EXPECT_FALSE(s.menu->background()->isAnimating()) << "the panorama stops while covered";
    s.back();
    EXPECT_TRUE(s.navigation->isNavigationBarHidden());
    EXPECT_TRUE(s.menu->background()->isAnimating());
  }
  EXPECT_EQ(s.menu->view()->subviews(), views) << "a second appearance adds nothing";
  s.driver.tap(*s.menu->optionsButton);
  s.driver.runUntilIdle();
  EXPECT_EQ(s.navigation->topViewController(), s.menu->optionsController);
}

}  // namespace
