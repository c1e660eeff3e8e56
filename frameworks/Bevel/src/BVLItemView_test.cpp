#include "Bevel/BVLItemView.h"

#include <gtest/gtest.h>

#include "Bevel/BVLItemIDSource.h"
#include "Bevel/BVLLabel.h"
#include "TestBundle.h"
#include "ui/TestDriver.h"

namespace {

using ItemView = bevel::testing::OnDemoBundle;

TEST_F(ItemView, ShowsNamedItemsLikeNumberedOnesAndWritesAnUnknownNameOverTheGenericPicture) {
  auto source = BVLItemIDSource::sharedSource();
  ui::Rect frame(12, 14, 28, 24);

  auto numbered = BVLItemView::itemViewWithFrame(frame, 276, 0);
  auto named = BVLItemView::itemViewWithFrame(frame, "minecraft:diamond_sword", 112);
  ASSERT_TRUE(named->image());
  EXPECT_EQ(named->image(), numbered->image());  // one entry, one picture
  EXPECT_EQ(named->identifier(), "minecraft:diamond_sword");
  EXPECT_EQ(named->damage(), 112);
  EXPECT_EQ(named->itemID(), 0);
  EXPECT_FALSE(named->nameLabel());
  EXPECT_FALSE(numbered->nameLabel());
  EXPECT_EQ(named->frame(), frame);

  // A thing only today's game has.
  auto modern = BVLItemView::itemViewWithFrame(frame, "minecraft:netherite_sword", 0);
  EXPECT_EQ(modern->image(), source->basicImageForItemWithName("minecraft:netherite_sword"));
  EXPECT_TRUE(modern->image());

  // The early game's unknown items still show nothing at all.
  EXPECT_FALSE(BVLItemView::itemViewWithFrame(frame, 1000, 0)->image());

  // The name as large as the width allows: whole in the editor's large
  // picture, its part after the namespace in a grid cell's small one.
  struct Case {
    const char* name;
    ui::Rect frame;
    const char* shown;
    double smallest, largest;  // font size
  } cases[] = {
      {"myaddon:ruby_staff", ui::Rect(20, 84, 216, 216), "myaddon:ruby_staff", 10, 16},
      {"myaddon:ruby_staff", frame, "ruby_staff", 6, 6},
      {"x", ui::Rect(20, 84, 216, 216), "x", 16, 16},
      {"x", frame, "x", 16, 16},
      {"averyveryverylongnamewithoutanamespace", frame, "averyveryverylongnamewithoutanamespace", 6, 6},
      {"", frame, "", 16, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " in " + std::to_string(c.frame.width()));
    auto unknown = BVLItemView::itemViewWithFrame(c.frame, c.name, 0);
    EXPECT_EQ(unknown->image(), source->genericItemImage());
    auto label = unknown->nameLabel();
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), c.shown);
    EXPECT_EQ(label->superview().get(), unknown.get());
    EXPECT_EQ(label->frame(), unknown->bounds());
    EXPECT_TRUE(label->clipsToBounds());
    EXPECT_GE(label->font().size, c.smallest);
    EXPECT_LE(label->font().size, c.largest);
    if (c.smallest < c.largest) {
      EXPECT_LE(label->font().measure(c.shown).width, c.frame.width());
    }
  }

  // A resize lays the name out again.
  auto unknown = BVLItemView::itemViewWithFrame(frame, "myaddon:ruby_staff", 0);
  unknown->setFrame(ui::Rect(20, 84, 216, 216));
  EXPECT_EQ(unknown->nameLabel()->frame(), ui::Rect(0, 0, 216, 216));
  EXPECT_EQ(unknown->nameLabel()->text(), "myaddon:ruby_staff");
  EXPECT_GT(unknown->nameLabel()->font().size, 6);
}

}  // namespace
