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
      "Leather Cap",      "Leather Tunic",  "Leather Pants",     "Leather Boots",      "Chain Helmet",
      "Chain Chestplate", "Chain Leggings", "Chain Boots",       "Iron Helmet",        "Iron Chestplate",
      "Iron Leggings",    "Iron Boots",     "Diamond Helmet",    "Diamond Chestplate", "Diamond Leggings",
      "Diamond Boots",    "Golden Helmet",  "Golden Chestplate", "Golden Leggings",    "Golden Boots",
  };
  auto source = BVLItemIDSource::sharedSource();
  for (uint16_t id = 298; id <= 317; ++id) {
    auto definition = source->itemDefinitionWithID(id, 0);
    ASSERT_TRUE(definition) << id;
    EXPECT_EQ(definition->name, pieces[id - 298]) << id;
    EXPECT_EQ(definition->picture, "items-opaque") << id;
    // The same piece in a world of today's game.
    const char* materials[] = {"leather", "chainmail", "iron", "diamond", "golden"};
    const char* kinds[] = {"helmet", "chestplate", "leggings", "boots"};
    EXPECT_EQ(definition->identifier,
              std::string("minecraft:") + materials[(id - 298) / 4] + "_" + kinds[(id - 298) % 4]);
    EXPECT_EQ(definition->identifierDamage, 0);
  }
}

TEST(ItemCatalogue, UnknownDamageFallsBackToTheItselfAtDamageZero) {
  struct Case {
    uint16_t id, damage;
    bool found;
    const char* name;
    uint16_t foundDamage;
  } cases[] = {
      {267, 0, true, "Iron Sword", 0},   {267, 131, true, "Iron Sword", 0},  // a worn sword is still a sword
      {351, 4, true, "Lapis Lazuli", 4},                                     // an exact variant wins over the fallback
      {351, 99, true, "Ink Sac", 0},     {1, 6, true, "Polished Andesite", 6},
      {1, 7, true, "Stone", 0},          {0, 0, false, "", 0},  // air: an empty slot, not an item
      {1000, 0, false, "", 0},                                  // no such id
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
    auto byString =
        source->itemDefinitionWithStringRepresentation(BVLItemIDSource::stringRepresentation(c.id, c.damage));
    EXPECT_EQ(byString, definition);
  }
}

TEST(ItemCatalogue, StringRepresentationIsTwoDecimalsAndAColon) {
  struct Case {
    const char* text;
    bool valid;
    uint16_t id = 0, damage = 0;
  } cases[] = {
      {"267:0", true, 267, 0},
      {"0:0", true, 0, 0},
      {"65535:65535", true, 65535, 65535},
      {"65536:0", false},
      {"-1:0", false},
      {"267", false},
      {"267:", false},
      {":0", false},
      {"267:0:1", false},
      {" 267:0", false},
      {"267:0 ", false},
      {"0x10:0", false},
      {"", false},
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
  EXPECT_FALSE(source.itemDefinitionWithID(6, 0));     // no fallback without a damage-0 entry
}

int opaquePixels(const std::shared_ptr<ui::Image>& image) {
  int opaque = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) opaque += (image->pixel(x, y) >> 24) > 0;
  return opaque;
}

TEST(ItemCatalogue, EveryEntryHasADrawnCellInsideItsPicture) {
  ui::TestDriver driver;
  bevel::testing::useDemoBundle();
  auto source = BVLItemIDSource::sharedSource();
  auto items = source->allItems();
  auto named = source->allNamedItems();
  items.insert(items.end(), named.begin(), named.end());
  for (const auto& item : items) {
    auto definition = source->itemDefinitionWithStringRepresentation(item);
    ASSERT_TRUE(definition) << item;
    auto atlas = bvl_imageNamed(definition->picture, "png");
    ASSERT_TRUE(atlas) << definition->picture;
    ui::Rect cell = definition->cell;
    EXPECT_LE(cell.maxX(), atlas->pixelWidth()) << item;
    EXPECT_LE(cell.maxY(), atlas->pixelHeight()) << item;
    auto image = source->basicImageForItemWithStringRepresentation(item);
    ASSERT_TRUE(image) << item;
    EXPECT_EQ(image->size(), (ui::Size{16, 16})) << item;
    EXPECT_GT(opaquePixels(image), 12) << "blank picture for " << item << " " << definition->name;
    // Items of the inventory never sit in the empty armor-slot cells.
    if (definition->picture == "items-opaque") {
      EXPECT_FALSE(cell.y() == 64 && cell.x() >= 192) << definition->name;
    }
  }
  auto generic = source->genericItemImage();
  ASSERT_TRUE(generic);
  EXPECT_EQ(generic->size(), (ui::Size{16, 16}));
  EXPECT_GT(opaquePixels(generic), 12);
}

// Today's names and the early numbers are two keys to one entry: each finds
// the other, with the same picture, and the title suits the key it was found by.
TEST(ItemCatalogue, NamesAndNumbersFindEachOther) {
  struct Case {
    const char* identifier;
    uint16_t damage;
    const char* title;  // today's
    bool numbered;
    uint16_t id, idDamage;
    const char* earlyName;
    uint16_t identifierDamage;
  } cases[] = {
      {"minecraft:diamond_sword", 0, "Diamond Sword", true, 276, 0, "Diamond Sword", 0},
      {"minecraft:diamond_sword", 112, "Diamond Sword", true, 276, 0, "Diamond Sword", 0},  // worn
      {"minecraft:iron_chestplate", 0, "Iron Chestplate", true, 307, 0, "Iron Chestplate", 0},
      {"minecraft:golden_sword", 0, "Golden Sword", true, 283, 0, "Gold Sword", 0},  // renamed
      {"minecraft:chainmail_boots", 0, "Chainmail Boots", true, 305, 0, "Chain Boots", 0},
      {"minecraft:granite", 0, "Granite", true, 1, 1, "Granite", 0},  // a variant became an item
      {"minecraft:red_dye", 0, "Red Dye", true, 351, 1, "Rose Red", 0},
      {"minecraft:stone_bricks", 0, "Stone Bricks", true, 98, 0, "Stone brick", 0},
      {"minecraft:netherite_sword", 0, "Netherite Sword", false, 0, 0, "", 0},  // today only
      {"minecraft:bed", 14, "Red Bed", false, 0, 0, "", 14},                    // a colour by damage
  };
  auto source = BVLItemIDSource::sharedSource();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.identifier) + " " + std::to_string(c.damage));
    auto definition = source->itemDefinitionWithName(c.identifier, c.damage);
    ASSERT_TRUE(definition);
    EXPECT_EQ(definition->name, c.title);
    EXPECT_EQ(definition->identifier, c.identifier);
    EXPECT_EQ(definition->identifierDamage, c.identifierDamage);
    EXPECT_EQ(definition->numbered, c.numbered);
    auto image = source->basicImageForItemWithName(c.identifier, c.damage);
    EXPECT_EQ(image, source->basicImageForItemWithStringRepresentation(
                         BVLItemIDSource::namedRepresentation(c.identifier, c.damage)));
    if (!c.numbered) continue;
    EXPECT_EQ(definition->id, c.id);
    EXPECT_EQ(definition->damage, c.idDamage);
    auto early = source->itemDefinitionWithID(c.id, c.idDamage);
    ASSERT_TRUE(early);
    EXPECT_EQ(early->name, c.earlyName);
    EXPECT_EQ(early->identifier, c.identifier);
    EXPECT_EQ(early->cell, definition->cell);
    EXPECT_EQ(early->picture, definition->picture);
  }

  // Both ways for every entry, and no title shared among today's names.
  std::set<std::string> titles;
  auto named = source->allNamedItems();
  EXPECT_GE(named.size(), 1500u);
  for (const auto& item : named) {
    auto definition = source->itemDefinitionWithStringRepresentation(item);
    ASSERT_TRUE(definition) << item;
    EXPECT_EQ(BVLItemIDSource::namedRepresentation(definition->identifier, definition->identifierDamage), item);
    EXPECT_EQ(definition->identifier.rfind("minecraft:", 0), 0u) << item;
    EXPECT_TRUE(titles.insert(lowered(definition->name)).second) << "title shared: " << definition->name;
    EXPECT_FALSE(definition->name.empty()) << item;
    if (definition->numbered) {
      auto early = source->itemDefinitionWithID(definition->id, definition->damage);
      ASSERT_TRUE(early) << item;
      EXPECT_EQ(early->identifier, definition->identifier) << item;
      EXPECT_EQ(early->identifierDamage, definition->identifierDamage) << item;
    }
  }
  for (const auto& item : source->allItems()) {
    auto early = source->itemDefinitionWithStringRepresentation(item);
    if (early->identifier.empty()) continue;
    auto today = source->itemDefinitionWithName(early->identifier, early->identifierDamage);
    ASSERT_TRUE(today) << item;
    EXPECT_TRUE(today->numbered);
    EXPECT_EQ(BVLItemIDSource::stringRepresentation(today->id, today->damage), item);
  }
}

TEST(ItemCatalogue, UnknownNamesFindNothingButTheGenericPicture) {
  ui::TestDriver driver;
  bevel::testing::useDemoBundle();
  auto source = BVLItemIDSource::sharedSource();
  // Names are matched exactly as the game writes them.
  for (const char* name : {"myaddon:ruby_staff", "", "minecraft:", "diamond_sword", "Minecraft:Diamond_Sword",
                           "minecraft:diamond_sword ", "minecraft:item.wheat", "276:0"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(source->itemDefinitionWithName(name));
    EXPECT_FALSE(source->basicImageForItemWithName(name));
  }
  auto generic = source->genericItemImage();
  ASSERT_TRUE(generic);
  // The generic glyph is a picture of its own, not some item's.
  for (const auto& item : source->allNamedItems()) {
    auto image = source->basicImageForItemWithStringRepresentation(item);
    bool same = true;
    for (int y = 0; y < 16 && same; ++y)
      for (int x = 0; x < 16 && same; ++x) same = image->pixel(x, y) == generic->pixel(x, y);
    EXPECT_FALSE(same) << item;
  }
  BVLItemIDSource withoutGeneric("id\tdamage\tname\tpicture\tx\ty\nAlpha\t5\t0\titems-opaque\t16\t32\n");
  EXPECT_FALSE(withoutGeneric.genericItemImage());
}

TEST(ItemCatalogue, NamedRepresentationIsTheNameWithANonZeroDamageAfterAHash) {
  struct Case {
    const char* text;
    bool valid;
    const char* identifier = "";
    uint16_t damage = 0;
  } cases[] = {
      {"minecraft:bed#14", true, "minecraft:bed", 14},
      {"minecraft:bed", true, "minecraft:bed", 0},
      {"minecraft:bed#0", true, "minecraft:bed", 0},
      {"myaddon:ruby_staff#65535", true, "myaddon:ruby_staff", 65535},
      {"minecraft:bed#65536", false},
      {"minecraft:bed#", false},
      {"minecraft:bed#-1", false},
      {"a#1#2", false},
      {"#3", false},
      {"", false},
      {"267:0", false},  // a numbered one
  };
  for (const Case& c : cases) {
    auto parsed = BVLItemIDSource::parseNamedRepresentation(c.text);
    ASSERT_EQ(bool(parsed), c.valid) << c.text;
    if (!parsed) continue;
    EXPECT_EQ(parsed->first, c.identifier);
    EXPECT_EQ(parsed->second, c.damage);
    if (c.damage) {
      EXPECT_EQ(BVLItemIDSource::namedRepresentation(c.identifier, c.damage), c.text);
    }
  }
  EXPECT_EQ(BVLItemIDSource::namedRepresentation("minecraft:stone", 0), "minecraft:stone");
}

TEST(ItemCatalogue, ParsingKnowsRowsByNumbersByNameOrBoth) {
  BVLItemIDSource source(
      "id\tdamage\tname\tpicture\tx\ty\tidentifier\tidentifier_damage\tidentifier_name\n"
      "5\t0\tGold Sword\titems-opaque\t0\t0\tminecraft:golden_sword\t0\tGolden Sword\n"
      "6\t0\tOld Thing\titems-opaque\t16\t0\t\t\t\n"
      "\t\t\titems-opaque\t32\t0\tminecraft:bed\t14\tRed Bed\n"
      "\t\t\titems-opaque\t48\t0\tminecraft:bed\t14\tAgain\n"  // repeated key
      "\t\t\titems-opaque\t64\t0\t7:0\t0\tLooks Numbered\n"    // not a name
      "\t\t\titems-opaque\t80\t0\tminecraft:x#1\t0\tHash\n"    // not a name either
      "\t\t\titems-opaque\t96\t0\tminecraft:untitled\t0\t\n"   // no title
      "\t\t\titems-opaque\t112\t0\tminecraft:bad\tx\tBad Damage\n"
      "\t\t\titems-opaque\t128\t0\t\t\t\n"    // the generic picture
      "\t\t\titems-opaque\t144\t0\t\t\t\n");  // only the first counts
  EXPECT_EQ(source.allItems(), (std::vector<std::string>{"5:0", "6:0"}));
  EXPECT_EQ(source.allNamedItems(), (std::vector<std::string>{"minecraft:golden_sword", "minecraft:bed#14"}));
  auto sword = source.itemDefinitionWithID(5, 0);
  ASSERT_TRUE(sword);
  EXPECT_EQ(sword->name, "Gold Sword");
  EXPECT_EQ(sword->identifier, "minecraft:golden_sword");
  auto byName = source.itemDefinitionWithName("minecraft:golden_sword");
  ASSERT_TRUE(byName);
  EXPECT_EQ(byName->name, "Golden Sword");
  EXPECT_EQ(*byName, (BVLItemDefinition{"Golden Sword", 5, 0, "items-opaque", ui::Rect(0, 0, 16, 16), true,
                                        "minecraft:golden_sword", 0, 0, 0, ""}));
  auto old = source.itemDefinitionWithID(6, 0);
  ASSERT_TRUE(old);
  EXPECT_EQ(old->identifier, "");
  auto bed = source.itemDefinitionWithName("minecraft:bed", 14);
  ASSERT_TRUE(bed);
  EXPECT_EQ(bed->name, "Red Bed");
  EXPECT_FALSE(bed->numbered);
  EXPECT_EQ(bed->cell, ui::Rect(32, 0, 16, 16));
  EXPECT_FALSE(source.itemDefinitionWithName("minecraft:bed", 0));  // no fallback without a damage-0 entry
  for (const char* name : {"7:0", "minecraft:x#1", "minecraft:x", "minecraft:untitled", "minecraft:bad"}) {
    EXPECT_FALSE(source.itemDefinitionWithName(name)) << name;
  }
}

}  // namespace

TEST(ItemCatalogue, TodaysItemsCarryDurabilityStackSizeAndTheEnchantmentsTheyTake) {
  struct Case {
    const char* identifier;
    uint16_t durability, stack;
    const char* takes;    // an enchantment that applies
    const char* refuses;  // one that does not
  };
  const Case cases[] = {
      {"minecraft:netherite_sword", 2031, 1, "sharpness", "efficiency"},
      {"minecraft:mace", 500, 1, "density", "sharpness"},
      {"minecraft:iron_pickaxe", 250, 1, "unbreaking", "looting"},
      {"minecraft:netherite_leggings", 555, 1, "swift_sneak", "respiration"},
      {"minecraft:ender_pearl", 0, 16, "", "unbreaking"},
  };
  const auto& table = BVLEnchantments::shared();
  auto named = [&](const std::string& name) {
    for (const auto& e : table.all()) {
      if (e.name == name) return e;
    }
    ADD_FAILURE() << name;
    return BVLEnchantment{};
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.identifier);
    auto item = BVLItemIDSource::sharedSource()->itemDefinitionWithName(c.identifier);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->durability, c.durability);
    EXPECT_EQ(item->stackSize, c.stack);
    if (*c.takes) {
      EXPECT_TRUE(named(c.takes).appliesTo(item->enchantKinds));
    }
    EXPECT_FALSE(named(c.refuses).appliesTo(item->enchantKinds));
  }
}

TEST(Enchantments, TheTableKnowsTheGamesIdsLevelsAndExclusions) {
  const auto& table = BVLEnchantments::shared();
  struct Case {
    int id;
    const char* title;
    int maxLevel;
  };
  for (const Case& c : {Case{0, "Protection", 4}, Case{17, "Unbreaking", 3}, Case{26, "Mending", 1},
                        Case{38, "Wind Burst", 3}, Case{39, "Density", 5}, Case{40, "Breach", 4}}) {
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
