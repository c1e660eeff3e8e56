#include "Bevel/BVLItemView.h"

#include <gtest/gtest.h>

#include "Bevel/BVLItemIDSource.h"
#include "Bevel/BVLLabel.h"
#include "TestBundle.h"
#include "ui/TestDriver.h"

namespace {

TEST(ItemView, ShowsNamedItemsLikeNumberedOnesAndWritesAnUnknownNameOverTheGenericPicture) {
  ui::TestDriver driver;
  bevel::testing::useDemoBundle();
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

  for (const char* name : {"myaddon:ruby_staff", "x", ""}) {
    SCOPED_TRACE(name);
    auto unknown = BVLItemView::itemViewWithFrame(frame, name, 0);
    EXPECT_EQ(unknown->image(), source->genericItemImage());
    ASSERT_TRUE(unknown->nameLabel());
    EXPECT_EQ(unknown->nameLabel()->text(), name);
    EXPECT_EQ(unknown->nameLabel()->superview().get(), unknown.get());
    EXPECT_EQ(unknown->nameLabel()->frame(), unknown->bounds());
  }

  // The name is written as large as the width allows, and follows a resize.
  auto unknown = BVLItemView::itemViewWithFrame(frame, "myaddon:ruby_staff", 0);
  auto label = unknown->nameLabel();
  double small = label->font().size;
  EXPECT_GE(small, 6);
  EXPECT_LT(small, 16);
  unknown->setFrame(ui::Rect(20, 84, 216, 216));
  EXPECT_EQ(label->frame(), ui::Rect(0, 0, 216, 216));
  EXPECT_GT(label->font().size, small);
  EXPECT_LE(label->font().measure("myaddon:ruby_staff").width, 216);
  auto shortName = BVLItemView::itemViewWithFrame(ui::Rect(0, 0, 216, 216), "x", 0);
  EXPECT_EQ(shortName->nameLabel()->font().size, 16);
}

}  // namespace
