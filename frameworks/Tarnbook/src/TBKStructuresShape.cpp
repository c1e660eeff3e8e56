// The shape of a structure file, apart from the rest of TBKStructures so
// that the fuzz target builds it with the NBT reader alone.
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStructures.h"

namespace {

// The list under name when it holds `count` entries (any count when
// count is 0) of the element type, else null.
std::shared_ptr<TBKListTag> listOf(const TBKCompoundTag& parent, std::string_view name, TBKTagType element,
                                   size_t count = 0) {
  auto list = parent.listForKey(name);
  if (!list || (list->count() > 0 && list->elementType() != element)) return nullptr;
  return count == 0 || list->count() == count ? list : nullptr;
}

int64_t intAt(const TBKListTag& list, size_t index) {
  return std::static_pointer_cast<TBKNumberTag>(list.objectAtIndexedSubscript(index))->value().longLongValue();
}

std::string problemOf(const TBKCompoundTag& root) {
  auto version = root.objectForKeyedSubscript("format_version");
  if (!version || version->type() != TBKTagType::Int || root.numberForKey("format_version").intValue() != 1) {
    return "its format_version is not the int 1";
  }
  auto size = listOf(root, "size", TBKTagType::Int, 3);
  if (!size) return "its size is not three ints";
  int64_t blocks = 1;
  for (size_t axis = 0; axis < 3; ++axis) {
    int64_t length = intAt(*size, axis);
    if (length < 0 || length > 1 << 16) return "its size " + std::to_string(length) + " is out of range";
    blocks *= length;
  }
  if (!listOf(root, "structure_world_origin", TBKTagType::Int, 3))
    return "its structure_world_origin is not three ints";
  auto structure = root.compoundForKey("structure");
  if (!structure) return "it holds no structure compound";
  auto palette =
      structure->compoundForKey("palette") ? structure->compoundForKey("palette")->compoundForKey("default") : nullptr;
  if (!palette) return "it holds no palette.default compound";
  auto blockPalette = listOf(*palette, "block_palette", TBKTagType::Compound);
  if (!blockPalette) return "its block_palette is not a list of compounds";
  if (palette->objectForKeyedSubscript("block_position_data") && !palette->compoundForKey("block_position_data")) {
    return "its block_position_data is not a compound";
  }
  if (!listOf(*structure, "entities", TBKTagType::Compound)) return "its entities are not a list of compounds";
  auto layers = listOf(*structure, "block_indices", TBKTagType::List, 2);
  if (!layers) return "its block_indices are not two lists";
  for (size_t layer = 0; layer < 2; ++layer) {
    auto indices = std::static_pointer_cast<TBKListTag>(layers->objectAtIndexedSubscript(layer));
    if (int64_t(indices->count()) != blocks || (blocks > 0 && indices->elementType() != TBKTagType::Int)) {
      return "its block_indices do not hold one int for each of its " + std::to_string(blocks) + " blocks";
    }
    for (size_t at = 0; at < indices->count(); ++at) {
      int64_t index = intAt(*indices, at);
      if (index < -1 || index >= int64_t(blockPalette->count())) {
        return "its block index " + std::to_string(index) + " is not in its palette of " +
               std::to_string(blockPalette->count());
      }
    }
  }
  return "";
}

}  // namespace

std::string TBKStructures::shapeProblem(std::string_view bytes) {
  try {
    return problemOf(*TBKNBT::parseCompound(bytes));
  } catch (const TBKException& error) {
    return "it is not one NBT compound (" + error.reason() + ")";
  }
}
