#pragma once

#include <memory>
#include <string>
#include <vector>

#include "external/Tarnbook.h"
#include "records/ContainerSummary.h"
#include "records/EquipmentRecord.h"
#include "records/TreeRecord.h"

// One container of a world as the screens edit it, with TreeRecord's
// contract: a change is applied to the tree the screens hold, the
// container's block entities are written with one database batch (each
// chunk's other roots and bytes kept, its checksums updated), and a refused
// write takes the change back out of that tree.
//
// For a kind Gorvane knows, the tree is a compound holding one "Items" list
// in the grid's form whatever the kind keeps: a double chest's second half
// as slots 27 on, a single-item holder's children ("Item", "book"...) as
// entries with the slot of their place. Each write puts the entries back
// where the game keeps them and leaves every other child of the block
// entity as it was. For a kind it does not know, the tree is the block
// entity itself, written back as the tag tree left it.
class ContainerRecord {
 public:
  // Reads the container's block entities afresh. Raises TBKException when
  // a record cannot be read or a block entity is no longer where the
  // summary found it.
  ContainerRecord(std::shared_ptr<TBKLevelDB> db, ContainerSummary summary);

  const ContainerSummary& summary() const { return summary_; }
  bool knowsKind() const { return summary_.kind != nullptr; }
  size_t capacity() const { return summary_.capacity(); }
  // What each slot is for, from the first ("Input", "Fuel", "Result");
  // empty for a kind whose slots are all alike.
  std::vector<std::string> slotNames() const {
    if (!summary_.kind) return {};
    return {summary_.kind->slotNames.begin(), summary_.kind->slotNames.end()};
  }

  const std::shared_ptr<TreeRecord>& record() const { return record_; }
  // The grid's entries; null for a kind Gorvane does not know.
  std::shared_ptr<TBKListTag> items() const;
  // The same tree as the equipment screens' grid and item editor take it.
  std::shared_ptr<EquipmentRecord> equipment() const;

  // A block entity as last stored, shared with the record's commit so that
  // the record works on after this object is gone.
  struct Stored;

 private:
  std::shared_ptr<TBKCompoundTag> gridTree() const;

  ContainerSummary summary_;
  std::shared_ptr<std::vector<Stored>> halves_;
  std::shared_ptr<TreeRecord> record_;
};
