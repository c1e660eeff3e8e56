#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Tarnbook/TBKChunkKey.h"
#include "Tarnbook/TBKCompoundTag.h"
#include "records/ContainerKind.h"

// One container of a world as the list shows it and a record opens it: its
// block entity or, for a double chest, both halves, the lead first; its
// items by the slot the grid shows them in (the second half's 27 on); its
// name and what it holds.
struct ContainerSummary {
  // One block entity: where its record is and which root of it.
  struct Half {
    TBKChunkKey chunk;
    size_t index = 0;
    int32_t x = 0, y = 0, z = 0;
  };
  struct Item {
    size_t slot = 0;
    std::shared_ptr<TBKCompoundTag> entry;
  };

  std::vector<Half> halves;
  std::string id;
  const ContainerKind* kind = nullptr;  // null: a kind Gorvane does not know
  std::string customName;
  // Its entries as read, kept only while the walk that read them looks at
  // them (ContainerList::list's visit): a list kept them all, and every
  // entry kept its record's whole parse alive.
  std::vector<Item> items;
  size_t filled = 0;         // slots holding something, counted when read
  bool lootPending = false;  // a "LootTable" the game fills on first opening
  // A chest's neighbour ("pairx", "pairz") and whether this one leads.
  struct Pair {
    int32_t x = 0, z = 0;
    bool lead = false;
  };
  std::optional<Pair> pair;

  TBKChunkKey::Dimension dimension() const { return halves.front().chunk.dimension; }
  const Half& position() const { return halves.front(); }
  size_t capacity() const;
  // The custom name, else the kind's name, else the id.
  std::string name() const;
  // "12 items" (slots that hold something), "1 item", "empty" or "loot not
  // yet generated".
  std::string contents() const;
  // "1, 64, -2"
  std::string positionText() const;

  // The summary of one block entity, or null for one that holds no items.
  static std::unique_ptr<ContainerSummary> of(const TBKChunkKey& chunk, size_t index, const TBKCompoundTag& root);
  // Joins the second half of a double chest in: slots 27 on.
  void join(ContainerSummary&& other);
};
