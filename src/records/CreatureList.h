#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "Tarnbook/TBKEntity.h"

// A world's entities as the creatures screen lists them: a section per
// dimension, the player's first; in each, a heading row per kind with its
// count ("Villager (18)") followed by its members, kinds and members
// nearest to the player first. A pure computation, so the order is tested
// without a window.
class CreatureList {
 public:
  struct Row {
    std::string text;                   // the heading's, or the entity's name or kind
    std::shared_ptr<TBKEntity> entity;  // null for a heading
  };
  struct Section {
    TBKChunkKey::Dimension dimension;
    std::string title;  // "Overworld", "The Nether", "The End"
    std::vector<Row> rows;
  };

  // Only entities whose name, kind or identifier holds `search` (any case)
  // are listed; "" lists every one. Distances are measured from
  // `playerPosition` in every dimension.
  static std::vector<Section> arrange(const std::vector<std::shared_ptr<TBKEntity>>& entities,
                                      const std::array<double, 3>& playerPosition,
                                      TBKChunkKey::Dimension playerDimension, const std::string& search);
  // What a row shows under the name: "40, 64, -21 · 14/20 health ·
  // tamed", and "· in no chunk's list" for a record the game does not load.
  static std::string detail(const TBKEntity& entity);
  // The entities of one identifier ("minecraft:item"), for a clear-out.
  static std::vector<std::shared_ptr<TBKEntity>> ofKind(const std::vector<std::shared_ptr<TBKEntity>>& entities,
                                                        const std::string& identifier);
};
