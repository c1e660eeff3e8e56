#include "menu/MenuViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "options/OptionsTableViewController.h"
#include "ui/NavigationBar.h"
#include "ui/NavigationController.h"
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

TEST(MenuLayout, ElementsSitAtTheirFramesAtEachScreenWidth) {
  struct Width {
    double width;
    ui::Rect title, version;
    ui::Point copyright;
    ui::Rect options, edit;
  } widths[] = {
      // The title picture's height follows its width at the picture's aspect.
      {568, ui::Rect(152.75, 65.9375, 262.5, 64.12213740458014), ui::Rect(4, 280, 56, 18), ui::Point{4, 300},
       ui::Rect(500, 252, 64, 64), ui::Rect(184, 160, 200, 60)},
      {480, ui::Rect(108.75, 65.9375, 262.5, 64.12213740458014), ui::Rect(4, 280, 56, 18), ui::Point{4, 300},
       ui::Rect(412, 252, 64, 64), ui::Rect(140, 160, 200, 60)},
  };
  for (const Width& w : widths) {
    SCOPED_TRACE(w.width);
    const double W = w.width, H = 320;
    MenuOnScreen s(W);
    auto& m = *s.menu;
    ASSERT_TRUE(m.titleLabel && m.versionLabel && m.copyrightLabel && m.optionsButton && m.editButton);
    EXPECT_EQ(m.titleLabel->frame(), w.title);
    EXPECT_EQ(m.titleLabel->contentMode(), ui::ContentMode::Center);
    EXPECT_EQ(m.versionLabel->frame(), w.version);
    EXPECT_EQ(m.copyrightLabel->frame().origin, w.copyright);
    EXPECT_EQ(m.optionsButton->frame(), w.options);
    EXPECT_EQ(m.editButton->frame(), w.edit);
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
