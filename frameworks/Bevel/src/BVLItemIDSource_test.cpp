#include "Bevel/BVLItemIDSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "Bevel/BVLImage.h"
#include "TestBundle.h"
#include "ui/Image.h"
#include "ui/TestDriver.h"

namespace {

std::string lowered(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

TEST(ItemCatalogue, HoldsEveryVariantOnceWithANameOfItsOwn) {
  auto source = BVLItemIDSource::sharedSource();
  auto items = source->allItems();
  EXPECT_GE(items.size(), 400u);
  std::set<std::string> keys, names;
  for (const auto& item : items) {
    auto definition = source->itemDefinitionWithStringRepresentation(item);
    ASSERT_TRUE(definition) << item;
    EXPECT_EQ(BVLItemIDSource::stringRepresentation(definition->id, definition->damage), item);
    EXPECT_TRUE(keys.insert(item).second) << "listed twice: " << item;
    // The picker tells items apart by name alone, so no two may share one,
    // not even in a different case.
    EXPECT_TRUE(names.insert(lowered(definition->name)).second) << "name shared: " << definition->name;
    EXPECT_EQ(definition->name.find_first_of("\t\n"), std::string::npos);
    EXPECT_FALSE(definition->name.front() == ' ' || definition->name.back() == ' ') << definition->name;
  }
}

TEST(ItemCatalogue, NamesArmorAsTheGameDoes) {
  const char* pieces[20] = {
      "Leather Cap",    "Leather Tunic",     "Leather Pants",    "Leather Boots",
      "Chain Helmet",   "Chain Chestplate",  "Chain Leggings",   "Chain Boots",
      "Iron Helmet",    "Iron Chestplate",   "Iron Leggings",    "Iron Boots",
      "Diamond Helmet", "Diamond Chestplate", "Diamond Leggings", "Diamond Boots",
      "Golden Helmet",  "Golden Chestplate", "Golden Leggings",  "Golden Boots",
  };
  auto source = BVLItemIDSource::sharedSource();
  for (uint16_t id = 298; id <= 317; ++id) {
    auto definition = source->itemDefinitionWithID(id, 0);
    ASSERT_TRUE(definition) << id;
    EXPECT_EQ(definition->name, pieces[id - 298]) << id;
    EXPECT_EQ(definition->picture, "items-opaque") << id;
  }
}

TEST(ItemCatalogue, UnknownDamageFallsBackToTheItselfAtDamageZero) {
  struct Case {
    uint16_t id, damage;
    bool found;
    const char* name;
    uint16_t foundDamage;
  } cases[] = {
      {267, 0, true, "Iron Sword", 0},
      {267, 131, true, "Iron Sword", 0},  // a worn sword is still a sword
      {351, 4, true, "Lapis Lazuli", 4},  // an exact variant wins over the fallback
      {351, 99, true, "Ink Sac", 0},
      {1, 6, true, "Polished Andesite", 6},
      {1, 7, true, "Stone", 0},
      {0, 0, false, "", 0},      // air: an empty slot, not an item
      {1000, 0, false, "", 0},   // no such id
      {65535, 65535, false, "", 0},
  };
  auto source = BVLItemIDSource::sharedSource();
  for (const Case& c : cases) {
    auto definition = source->itemDefinitionWithID(c.id, c.damage);
    ASSERT_EQ(bool(definition), c.found) << c.id << ":" << c.damage;
    if (!definition) continue;
    EXPECT_EQ(definition->name, c.name);
    EXPECT_EQ(definition->id, c.id);
    EXPECT_EQ(definition->damage, c.foundDamage);
    auto byString = source->itemDefinitionWithStringRepresentation(BVLItemIDSource::stringRepresentation(c.id, c.damage));
    EXPECT_EQ(byString, definition);
  }
}

TEST(ItemCatalogue, StringRepresentationIsTwoDecimalsAndAColon) {
  struct Case {
    const char* text;
    bool valid;
    uint16_t id = 0, damage = 0;
  } cases[] = {
      {"267:0", true, 267, 0}, {"0:0", true, 0, 0}, {"65535:65535", true, 65535, 65535},
      {"65536:0", false}, {"-1:0", false}, {"267", false}, {"267:", false}, {":0", false},
      {"267:0:1", false}, {" 267:0", false}, {"267:0 ", false}, {"0x10:0", false}, {"", false},
  };
  for (const Case& c : cases) {
    auto parsed = BVLItemIDSource::parseStringRepresentation(c.text);
    ASSERT_EQ(bool(parsed), c.valid) << c.text;
    if (parsed) {
      EXPECT_EQ(*parsed, std::make_pair(c.id, c.damage)) << c.text;
    } else {
      EXPECT_FALSE(BVLItemIDSource::sharedSource()->basicImageForItemWithStringRepresentation(c.text));
    }
  }
}

TEST(ItemCatalogue, ParsingSkipsBadRowsAndKeepsTheFirstOfARepeatedKey) {
  BVLItemIDSource source(
      "# a comment\n"
      "name\tid\tdamage\tpicture\tx\ty\n"  // columns found by name, in any order
      "Alpha\t5\t0\titems-opaque\t16\t32\n"
      "Again\t5\t0\titems-opaque\t0\t0\n"
      "NoNumber\tx\t0\titems-opaque\t0\t0\n"
      "TooBig\t70000\t0\titems-opaque\t0\t0\n"
      "\t6\t0\titems-opaque\t0\t0\n"
      "Beta\t6\t2\r\n");
  EXPECT_EQ(source.allItems(), (std::vector<std::string>{"5:0", "6:2"}));
  auto alpha = source.itemDefinitionWithID(5, 3);
  ASSERT_TRUE(alpha);
  EXPECT_EQ(alpha->name, "Alpha");
  EXPECT_EQ(alpha->cell, ui::Rect(16, 32, 16, 16));
  auto beta = source.itemDefinitionWithID(6, 2);
  ASSERT_TRUE(beta);
  EXPECT_EQ(beta->name, "Beta");
  EXPECT_FALSE(source.basicImageForItemWithID(6, 2));  // no picture named
  EXPECT_FALSE(source.itemDefinitionWithID(6, 0));      // no fallback without a damage-0 entry
}

TEST(ItemCatalogue, EveryEntryHasADrawnCellInsideItsPicture) {
  ui::TestDriver driver;
  bevel::testing::useDemoBundle();
  auto source = BVLItemIDSource::sharedSource();
  for (const auto& item : source->allItems()) {
    auto definition = source->itemDefinitionWithStringRepresentation(item);
    ASSERT_TRUE(definition);
    auto atlas = bvl_imageNamed(definition->picture, "png");
    ASSERT_TRUE(atlas) << definition->picture;
    ui::Rect cell = definition->cell;
    EXPECT_LE(cell.maxX(), atlas->pixelWidth()) << item;
    EXPECT_LE(cell.maxY(), atlas->pixelHeight()) << item;
    auto image = source->basicImageForItemWithStringRepresentation(item);
    ASSERT_TRUE(image) << item;
    EXPECT_EQ(image->size(), (ui::Size{16, 16})) << item;
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) opaque += (image->pixel(x, y) >> 24) > 0;
    EXPECT_GT(opaque, 12) << "blank picture for " << item << " " << definition->name;
  }
  // Items of the inventory never sit in the empty armor-slot cells.
  for (const auto& item : source->allItems()) {
    auto d = source->itemDefinitionWithStringRepresentation(item);
    if (d->picture == "items-opaque") {
      EXPECT_FALSE(d->cell.y() == 64 && d->cell.x() >= 192) << d->name;
    }
  }
}

}  // namespace
