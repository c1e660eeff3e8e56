#include "records/ContainerKind.h"

#include <algorithm>
#include <array>

namespace {

// The game's block-entity ids with items. A trapped chest is a "Chest" too;
// a chest joined with its neighbour shows both halves as one grid.
const std::vector<ContainerKind>& kinds() {
  static const std::vector<ContainerKind> table = {
      {.id = "Chest", .name = "Chest", .slots = 27, .picture = "minecraft:chest"},
      {.id = "Barrel", .name = "Barrel", .slots = 27, .picture = "minecraft:barrel"},
      {.id = "ShulkerBox", .name = "Shulker Box", .slots = 27, .picture = "minecraft:undyed_shulker_box"},
      {.id = "Hopper", .name = "Hopper", .slots = 5, .picture = "minecraft:hopper"},
      {.id = "Dispenser", .name = "Dispenser", .slots = 9, .picture = "minecraft:dispenser"},
      {.id = "Dropper", .name = "Dropper", .slots = 9, .picture = "minecraft:dropper"},
      {.id = "Crafter", .name = "Crafter", .slots = 9, .picture = "minecraft:crafter"},
      {.id = "Furnace",
       .name = "Furnace",
       .slots = 3,
       .picture = "minecraft:furnace",
       .slotNames = {"Input", "Fuel", "Result"}},
      {.id = "BlastFurnace",
       .name = "Blast Furnace",
       .slots = 3,
       .picture = "minecraft:blast_furnace",
       .slotNames = {"Input", "Fuel", "Result"}},
      {.id = "Smoker",
       .name = "Smoker",
       .slots = 3,
       .picture = "minecraft:smoker",
       .slotNames = {"Input", "Fuel", "Result"}},
      {.id = "BrewingStand",
       .name = "Brewing Stand",
       .slots = 5,
       .picture = "minecraft:brewing_stand",
       .slotNames = {"Ingredient", "Potion", "Potion", "Potion", "Fuel"}},
      {.id = "ChiseledBookshelf", .name = "Chiseled Bookshelf", .slots = 6, .picture = "minecraft:chiseled_bookshelf"},
      {.id = "DecoratedPot",
       .name = "Decorated Pot",
       .slots = 1,
       .itemKeys = {"item"},
       .picture = "minecraft:decorated_pot"},
      {.id = "Lectern", .name = "Lectern", .slots = 1, .itemKeys = {"book"}, .picture = "minecraft:lectern"},
      {.id = "Jukebox", .name = "Jukebox", .slots = 1, .itemKeys = {"RecordItem"}, .picture = "minecraft:jukebox"},
      {.id = "ItemFrame", .name = "Item Frame", .slots = 1, .itemKeys = {"Item"}, .picture = "minecraft:frame"},
      {.id = "GlowItemFrame",
       .name = "Glow Item Frame",
       .slots = 1,
       .itemKeys = {"Item"},
       .picture = "minecraft:glow_frame"},
      {.id = "Campfire",
       .name = "Campfire",
       .slots = 4,
       .itemKeys = {"Item1", "Item2", "Item3", "Item4"},
       .picture = "minecraft:campfire"},
  };
  return table;
}

// Block entities of the game that never hold items.
constexpr std::array<std::string_view, 37> withoutItems = {"Banner",
                                                           "Beacon",
                                                           "Bed",
                                                           "Beehive",
                                                           "Bell",
                                                           "BrushableBlock",
                                                           "CalibratedSculkSensor",
                                                           "Cauldron",
                                                           "ChalkboardBlock",
                                                           "CommandBlock",
                                                           "Comparator",
                                                           "Conduit",
                                                           "CreakingHeart",
                                                           "DaylightDetector",
                                                           "EnchantTable",
                                                           "EndGateway",
                                                           "EndPortal",
                                                           "EnderChest",
                                                           "FlowerPot",
                                                           "HangingSign",
                                                           "JigsawBlock",
                                                           "Lodestone",
                                                           "MobSpawner",
                                                           "MovingBlock",
                                                           "Music",
                                                           "NetherReactor",
                                                           "PistonArm",
                                                           "SculkCatalyst",
                                                           "SculkSensor",
                                                           "SculkShrieker",
                                                           "Sign",
                                                           "Skull",
                                                           "StructureBlock",
                                                           "TrialSpawner",
                                                           "Vault",
                                                           "BeeNest",
                                                           "ShelfBlock"};

}  // namespace

const ContainerKind* ContainerKind::forId(std::string_view id) {
  for (const auto& kind : kinds()) {
    if (kind.id == id) return &kind;
  }
  return nullptr;
}

bool ContainerKind::holdsNoItems(std::string_view id) {
  return std::find(withoutItems.begin(), withoutItems.end(), id) != withoutItems.end();
}
