#include "BlockEntityValue.h"

#include <vector>

#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKNBT.h"

namespace tbk {

std::string replacedRoot(std::string_view value, size_t index, const TBKCompoundTag& root, const std::string* before) {
  std::vector<size_t> ends;
  auto roots = TBKNBT::parseRoots(value, &ends);
  if (index >= roots.size()) {
    throw TBKException(TBKException::Kind::Format,
                       "it holds " + std::to_string(roots.size()) + " block entities, not the one being changed");
  }
  size_t start = index == 0 ? 0 : ends[index - 1];
  std::string_view was = value.substr(start, ends[index] - start);
  if (before && was != *before) {
    throw TBKException(TBKException::Kind::Format, "the block entity changed since it was read; open it again");
  }
  std::string bytes;
  bytes.reserve(value.size() + 64);
  bytes.append(value.substr(0, start));
  TBKNBT::serialise(root, bytes);
  bytes.append(value.substr(ends[index]));
  return bytes;
}

}  // namespace tbk
