// libFuzzer target for a creature's records: an entity record, the same
// bytes as an old-form chunk value, and a chunk's digest. The input is a
// 2-byte length, that many bytes of record, and the digest after them.
// Beyond not crashing, the listing's scanner must refuse exactly what the
// tree reader refuses, end each old-form root where the reader does, and
// read what a row shows as the tree holds it; a digest is whole ids.
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "EntityScanner.h"
#include "RecordShape.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"

namespace {

void require(bool held) {
  if (!held) std::abort();
}

bool sameNumber(const TBKNumber& a, const TBKNumber& b) { return a == b; }

// The row's facts as the tree's own lookups give them.
void compare(const TBKEntity::Summary& summary, const TBKCompoundTag& tree) {
  require(summary.identifier == tree.stringForKey("identifier"));
  require(summary.name == tree.stringForKey("CustomName"));
  require(sameNumber(summary.dimensionId, tree.numberForKey("DimensionId")));
  auto owner = std::dynamic_pointer_cast<TBKNumberTag>(tree.objectForKeyedSubscript("OwnerNew"));
  require(summary.owner.has_value() == bool(owner));
  if (owner) require(sameNumber(*summary.owner, owner->value()));
  auto pos = tree.listForKey("Pos");
  for (size_t i = 0; i < 3; ++i) {
    auto number =
        pos && i < pos->count() ? std::dynamic_pointer_cast<TBKNumberTag>(pos->objectAtIndexedSubscript(i)) : nullptr;
    double expected = number ? number->value().doubleValue() : 0;
    require(std::bit_cast<uint64_t>(summary.position[i]) == std::bit_cast<uint64_t>(expected));
  }
  std::shared_ptr<TBKCompoundTag> health;
  auto attributes = tree.listForKey("Attributes");
  for (size_t i = 0; attributes && !health && i < attributes->count(); ++i) {
    auto attribute = attributes->compoundAtIndex(i);
    if (attribute && attribute->stringForKey("Name") == "minecraft:health") health = attribute;
  }
  require(summary.health.has_value() == bool(health));
  if (health) {
    require(sameNumber(summary.health->current, health->numberForKey("Current")));
    require(sameNumber(summary.health->maximum, health->numberForKey("Max")));
  }
  auto item = tree.compoundForKey("Item");
  require(summary.itemName == (item ? item->stringForKey("Name") : std::string()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (size < 2) return 0;
  size_t length = std::min<size_t>(size - 2, size_t(data[0]) | size_t(data[1]) << 8);
  std::string_view record = bytes.substr(2, length);
  std::string_view digest = bytes.substr(2 + length);

  // Its own record: one compound, nothing after it.
  std::shared_ptr<TBKCompoundTag> tree;
  try {
    tree = TBKNBT::parseCompound(record);
  } catch (const TBKException&) {}
  std::optional<TBKEntity::Summary> summary;
  size_t consumed = 0;
  try {
    summary = tbk::scanEntity(record, &consumed);
  } catch (const TBKException&) {}
  require(bool(tree) == (summary && consumed == record.size()));
  if (tree) compare(*summary, *tree);
  std::string key = "actorprefix" + std::string(8, '\x01');
  require(bool(tree) == !tbk::recordDamage(key, record));

  // The old form: roots one after another, each ending where the reader's does.
  std::vector<size_t> ends;
  std::vector<std::shared_ptr<TBKCompoundTag>> roots;
  bool read = true;
  try {
    roots = TBKNBT::parseRoots(record, &ends);
  } catch (const TBKException&) {
    read = false;
  }
  bool scanned = true;
  size_t at = 0;
  for (size_t index = 0; at < record.size(); ++index) {
    try {
      auto root = tbk::scanEntity(record.substr(at), &consumed);
      at += consumed;
      if (read) {
        require(index < roots.size() && ends[index] == at);
        compare(root, *roots[index]);
      }
    } catch (const TBKException&) {
      scanned = false;
      break;
    }
  }
  require(read == scanned);

  std::string digestKey = "digp" + std::string(8, '\x02');
  require(!tbk::recordDamage(digestKey, digest) == (digest.size() % 8 == 0));
  return 0;
}
