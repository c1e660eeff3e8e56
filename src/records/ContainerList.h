#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "external/Tarnbook.h"
#include "records/ContainerSummary.h"
#include "records/DamagedRecords.h"

// Every container of a world, read over one walk of its database: all three
// dimensions, a double chest's halves joined into one container (the lead
// first), block entities that never hold items left out and those of kinds
// Gorvane does not know kept. Works on a worker thread: it touches nothing
// but the database, which allows reads beside the screens' own.
class ContainerList {
 public:
  // Far more than a world of the game holds; a world made to fill memory
  // with containers gets this many listed and the rest counted.
  static constexpr size_t maximumListed = 100'000;
  struct Listing {
    std::vector<ContainerSummary> containers;  // in the database's order, without their items
    DamagedRecords damaged;                    // the block-entity records that could not be read
    bool complete = true;                      // false when cancelled
    size_t notListed = 0;                      // containers past maximumListed
  };
  // cancelled (if given) is asked now and then; progress as
  // TBKLevelDB::forEachRecord. visit (if given) sees each listed block
  // entity's container, a double chest's halves apart, with its items as
  // read, before they are let go. Raises TBKException when the database
  // cannot be read at all.
  static Listing list(TBKLevelDB& db, const std::function<bool()>& cancelled = nullptr,
                      const std::function<void(double)>& progress = nullptr,
                      const std::function<void(const ContainerSummary&)>& visit = nullptr);

  // Where each listed block entity ended up, by its chunk key's bytes and
  // root index: its container's index in `containers` and the slot its own
  // first slot became there (27 for a double chest's second half).
  struct Placed {
    size_t container;
    size_t firstSlot;
  };
  using Placements = std::map<std::pair<std::string, size_t>, Placed>;
  static Placements placements(const std::vector<ContainerSummary>& containers);
  static std::optional<Placed> placed(const Placements& placements, const ContainerSummary::Half& half);

  struct Section {
    TBKChunkKey::Dimension dimension;
    std::vector<ContainerSummary> containers;
  };
  // The Overworld, the Nether and the End, each that has any, its
  // containers nearest first to the player at x, z in `dimension` (taken
  // through the Nether's scale of 8 in the other one); a tie keeps the
  // listing's order. With a search, only the containers it matches.
  static std::vector<Section> sections(std::vector<ContainerSummary> containers, double x, double z,
                                       TBKChunkKey::Dimension dimension, const std::string& search = "");
  // Whether `search` (any case) is part of the container's name, its
  // kind's name or id, its dimension's name or its position ("1, 64, -2").
  static bool matches(const ContainerSummary& container, const std::string& search);
};
