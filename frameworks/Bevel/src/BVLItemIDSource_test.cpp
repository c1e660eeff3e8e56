#include "Bevel/BVLItemIDSource.h"

#include <algorithm>
#include <cctype>
#include <set>

#include <gtest/gtest.h>

#include "Bevel/BVLEnchantments.h"
#include "Bevel/BVLImage.h"
#include "TestBundle.h"
#include "ui/Image.h"
#include "ui/TestDriver.h"

namespace {

struct ItemCatalogue : bevel::testing::OnDemoBundle {
  std::shared_ptr<BVLItemIDSource> source = BVLItemIDSource::sharedSource();
};

std::string lowered(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

int opaquePixels(const ui::Image& image) {
  int opaque = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) opaque += (image.pixel(x, y) >> 24) > 0;
  return opaque;
}

bool samePixels(const ui::Image& a, const ui::Image& b) {
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
  return true;
}

// The shape of the whole catalogue, entry by entry: every key finds its entry
// and the entry its key, an entry with both keys is found the same by either,
// and each has a drawn picture of its own.
TEST_F(ItemCatalogue, EveryEntryIsFoundByItsKeysAndHasATitleAndAPictureOfItsOwn) {
  auto generic = source->genericItemImage();
  ASSERT_TRUE(generic);
  EXPECT_EQ(generic->size(), (ui::Size{16, 16}));
  EXPECT_GT(opaquePixels(*generic), 12);
  auto items = source->allItems();
  auto named = source->allNamedItems();
  EXPECT_GE(items.size(), 400u);
  EXPECT_GE(named.size(), 1500u);
  items.insert(items.end(), named.begin(), named.end());
  // The picker tells items apart by title alone, so no two of one kind may
  // share one, not even in a different case.
  std::set<std::string> earlyTitles, todaysTitles;
  for (const auto& item : items) {
    SCOPED_TRACE(item);
    auto definition = source->itemDefinitionWithStringRepresentation(item);
    ASSERT_TRUE(definition);
    bool byName = !BVLItemIDSource::parseStringRepresentation(item);
    if (byName) {
      EXPECT_EQ(BVLItemIDSource::namedRepresentation(definition->identifier, definition->identifierDamage), item);
      EXPECT_EQ(definition->identifier.rfind("minecraft:", 0), 0u);
    } else {
      EXPECT_EQ(BVLItemIDSource::stringRepresentation(definition->id, definition->damage), item);
    }
    const std::string& title = definition->name;
    EXPECT_TRUE((byName ? todaysTitles : earlyTitles).insert(lowered(title)).second) << "title shared: " << title;
    ASSERT_FALSE(title.empty());
    EXPECT_EQ(title.find_first_of("\t\n"), std::string::npos);
    EXPECT_FALSE(title.front() == ' ' || title.back() == ' ') << title;

    if (definition->numbered && !definition->identifier.empty()) {
      auto other = byName ? source->itemDefinitionWithID(definition->id, definition->damage)
                          : source->itemDefinitionWithName(definition->identifier, definition->identifierDamage);
      ASSERT_TRUE(other);
      EXPECT_TRUE(other->numbered);
      EXPECT_EQ(std::tie(other->id, other->damage, other->identifier, other->identifierDamage),
                std::tie(definition->id, definition->damage, definition->identifier, definition->identifierDamage));
    }

    auto atlas = bvl_imageNamed(definition->picture, "png");
    ASSERT_TRUE(atlas) << definition->picture;
    ui::Rect cell = definition->cell;
    EXPECT_LE(cell.maxX(), atlas->pixelWidth());
    EXPECT_LE(cell.maxY(), atlas->pixelHeight());
    // Items of the inventory never sit in the empty armor-slot cells.
    if (definition->picture == "items-opaque") {
      EXPECT_FALSE(cell.y() == 64 && cell.x() >= 192);
    }
    auto image = source->basicImageForItemWithStringRepresentation(item);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (ui::Size{16, 16}));
    EXPECT_GT(opaquePixels(*image), 12) << "blank picture for " << title;
    EXPECT_FALSE(samePixels(*image, *generic)) << "the generic glyph is a picture of its own";
  }
}

// Either key finds the exact entry, or else the entry at damage 0 (a worn
// sword is still a sword); the title suits the key it was found by. Names are
// matched exactly as the game writes them.
TEST_F(ItemCatalogue, AKeyFindsItsEntryOrTheOneAtDamageZero) {
  struct Case {
    const char* item;
    const char* found;  // the key of the entry found; none when nothing is
    const char* title;
  } cases[] = {
      {"267:131", "267:0", "Iron Sword"},
      {"351:4", "351:4", "Lapis Lazuli"},  // an exact variant wins over the fallback
      {"351:99", "351:0", "Ink Sac"},
      {"283:0", "283:0", "Gold Sword"},
      {"minecraft:golden_sword", "minecraft:golden_sword", "Golden Sword"},  // renamed since
      {"minecraft:diamond_sword#112", "minecraft:diamond_sword", "Diamond Sword"},
      {"minecraft:bed#14", "minecraft:bed#14", "Red Bed"},  // a colour by damage
      {"0:0", nullptr, ""},                                 // air: an empty slot, not an item
      {"65535:65535", nullptr, ""},
      {"myaddon:ruby_staff", nullptr, ""},
      {"Minecraft:Diamond_Sword", nullptr, ""},
      {"minecraft:diamond_sword ", nullptr, ""},
      {"diamond_sword", nullptr, ""},
      {"minecraft:item.wheat", nullptr, ""},
      {"", nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    auto definition = source->itemDefinitionWithStringRepresentation(c.item);
    EXPECT_EQ(bool(source->basicImageForItemWithStringRepresentation(c.item)), c.found != nullptr);
    ASSERT_EQ(bool(definition), c.found != nullptr);
    if (!definition) continue;
    EXPECT_EQ(definition->name, c.title);
    bool byName = !BVLItemIDSource::parseStringRepresentation(c.item);
    EXPECT_EQ(byName ? BVLItemIDSource::namedRepresentation(definition->identifier, definition->identifierDamage)
                     : BVLItemIDSource::stringRepresentation(definition->id, definition->damage),
              c.found);
  }
}

// "id:damage" in decimal is a numbered item; any other text is a name, with a
// damage other than 0 after a "#".
TEST_F(ItemCatalogue, ARepresentationIsNumberedOrNamed) {
  using Numbers = std::optional<std::pair<uint16_t, uint16_t>>;
  using Name = std::optional<std::pair<std::string, uint16_t>>;
  struct Case {
    const char* text;
    Numbers numbers;
    Name name;
  } cases[] = {
      {"267:0", {{267, 0}}, {}},
      {"0:0", {{0, 0}}, {}},
      {"65535:65535", {{65535, 65535}}, {}},
      {"minecraft:bed#14", {}, {{"minecraft:bed", 14}}},
      {"minecraft:bed", {}, {{"minecraft:bed", 0}}},
      {"minecraft:bed#0", {}, {{"minecraft:bed", 0}}},
      {"myaddon:ruby_staff#65535", {}, {{"myaddon:ruby_staff", 65535}}},
      {"65536:0", {}, {{"65536:0", 0}}},
      {"-1:0", {}, {{"-1:0", 0}}},
      {"267:0:1", {}, {{"267:0:1", 0}}},
      {" 267:0", {}, {{" 267:0", 0}}},
      {"0x10:0", {}, {{"0x10:0", 0}}},
      {"minecraft:bed#65536", {}, {}},
      {"minecraft:bed#", {}, {}},
      {"minecraft:bed#-1", {}, {}},
      {"a#1#2", {}, {}},
      {"#3", {}, {}},
      {"", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(BVLItemIDSource::parseStringRepresentation(c.text), c.numbers);
    EXPECT_EQ(BVLItemIDSource::parseNamedRepresentation(c.text), c.name);
    if (c.numbers) {
      EXPECT_EQ(BVLItemIDSource::stringRepresentation(c.numbers->first, c.numbers->second), c.text);
    }
    if (c.name && c.name->second) {
      EXPECT_EQ(BVLItemIDSource::namedRepresentation(c.name->first, c.name->second), c.text);
    }
  }
}

TEST_F(ItemCatalogue, ParsingKnowsRowsByNumbersByNameOrBothAndSkipsBadOnes) {
  BVLItemIDSource parsed(
      "# a comment\n"
      "id\tdamage\tname\tpicture\tx\ty\tidentifier\tidentifier_damage\tidentifier_name\n"
      "5\t0\tGold Sword\titems-opaque\t0\t0\tminecraft:golden_sword\t0\tGolden Sword\n"
      "5\t0\tAgain\titems-opaque\t0\t0\t\t\t\n"  // repeated key
      "x\t0\tNoNumber\titems-opaque\t0\t0\t\t\t\n"
      "70000\t0\tTooBig\titems-opaque\t0\t0\t\t\t\n"
      "6\t0\t\titems-opaque\t0\t0\t\t\t\n"  // no title
      "6\t2\tOld Thing\r\n"                 // no picture, and a line end of another system
      "\t\t\titems-opaque\t32\t16\tminecraft:bed\t14\tRed Bed\n"
      "\t\t\titems-opaque\t48\t0\tminecraft:bed\t14\tAgain\n"  // repeated key
      "\t\t\titems-opaque\t64\t0\t7:0\t0\tLooks Numbered\n"    // not a name
      "\t\t\titems-opaque\t80\t0\tminecraft:x#1\t0\tHash\n"    // not a name either
      "\t\t\titems-opaque\t96\t0\tminecraft:untitled\t0\t\n"   // no title
      "\t\t\titems-opaque\t112\t0\tminecraft:bad\tx\tBad Damage\n"
      "\t\t\titems-opaque\t128\t0\t\t\t\n"    // the generic picture
      "\t\t\titems-opaque\t144\t0\t\t\t\n");  // only the first counts
  EXPECT_EQ(parsed.allItems(), (std::vector<std::string>{"5:0", "6:2"}));
  EXPECT_EQ(parsed.allNamedItems(), (std::vector<std::string>{"minecraft:golden_sword", "minecraft:bed#14"}));
  auto sword = parsed.itemDefinitionWithID(5, 3);
  ASSERT_TRUE(sword);
  EXPECT_EQ(sword->name, "Gold Sword");
  EXPECT_EQ(*parsed.itemDefinitionWithName("minecraft:golden_sword"),
            (BVLItemDefinition{"Golden Sword", 5, 0, "items-opaque", ui::Rect(0, 0, 16, 16), true,
                               "minecraft:golden_sword", 0, 0, 0, ""}));
  auto old = parsed.itemDefinitionWithID(6, 2);
  ASSERT_TRUE(old);
  EXPECT_EQ(old->name, "Old Thing");
  EXPECT_EQ(old->identifier, "");
  EXPECT_FALSE(parsed.basicImageForItemWithID(6, 2));  // no picture named
  EXPECT_FALSE(parsed.itemDefinitionWithID(6, 0));     // no fallback without a damage-0 entry
  auto bed = parsed.itemDefinitionWithName("minecraft:bed", 14);
  ASSERT_TRUE(bed);
  EXPECT_EQ(bed->name, "Red Bed");
  EXPECT_FALSE(bed->numbered);
  EXPECT_EQ(bed->cell, ui::Rect(32, 16, 16, 16));
  EXPECT_FALSE(parsed.itemDefinitionWithName("minecraft:bed", 0));
  for (const char* name : {"7:0", "minecraft:x#1", "minecraft:x", "minecraft:untitled", "minecraft:bad"}) {
    EXPECT_FALSE(parsed.itemDefinitionWithName(name)) << name;
  }
  // Columns are found by name, in any order.
  BVLItemIDSource withoutGeneric("name\tx\tdamage\tid\tpicture\ty\nAlpha\t16\t0\t5\titems-opaque\t32\n");
  EXPECT_EQ(withoutGeneric.itemDefinitionWithID(5, 0)->cell, ui::Rect(16, 32, 16, 16));
  EXPECT_FALSE(withoutGeneric.genericItemImage());
}

TEST_F(ItemCatalogue, TodaysItemsCarryDurabilityStackSizeAndTheEnchantmentsTheyTake) {
  struct Case {
    const char* identifier;
    uint16_t durability, stack;
    int takes, refuses;  // ids of an enchantment that applies (-1: none does) and one that does not
  };
  const Case cases[] = {
      {"minecraft:netherite_sword", 2031, 1, 9, 15},  // sharpness, not efficiency
      {"minecraft:mace", 500, 1, 39, 9},              // density, not sharpness
      {"minecraft:ender_pearl", 0, 16, -1, 17},       // not even unbreaking
  };
  const auto& table = BVLEnchantments::shared();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.identifier);
    auto item = source->itemDefinitionWithName(c.identifier);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->durability, c.durability);
    EXPECT_EQ(item->stackSize, c.stack);
    if (c.takes >= 0) {
      EXPECT_TRUE(table.withID(c.takes)->appliesTo(item->enchantKinds));
    }
    EXPECT_FALSE(table.withID(c.refuses)->appliesTo(item->enchantKinds));
  }
}

TEST(Enchantments, TheTableKnowsTheGamesIdsLevelsAndExclusions) {
  const auto& table = BVLEnchantments::shared();
  struct Case {
    int id;
    const char* title;
    int maxLevel;
  };
  for (const Case& c : {Case{0, "Protection", 4}, Case{26, "Mending", 1}, Case{40, "Breach", 4}}) {
    SCOPED_TRACE(c.id);
    auto e = table.withID(c.id);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->title, c.title);
    EXPECT_EQ(e->maxLevel, c.maxLevel);
  }
  EXPECT_EQ(table.withID(99), nullptr);
  EXPECT_TRUE(table.withID(39)->conflictsWith(*table.withID(40))) << "density and breach";
  EXPECT_TRUE(table.withID(10)->conflictsWith(*table.withID(39))) << "both ways, though the data names one side";
  EXPECT_FALSE(table.withID(17)->conflictsWith(*table.withID(26)));
  const std::pair<int, const char*> levels[] = {{1, "I"},  {3, "III"},   {4, "IV"},     {5, "V"}, {9, "IX"},
                                                {10, "X"}, {42, "XLII"}, {255, "CCLV"}, {0, "0"}, {-2, "-2"}};
  for (auto [level, text] : levels) EXPECT_EQ(BVLEnchantments::levelText(level), text) << level;
}

}  // namespace
