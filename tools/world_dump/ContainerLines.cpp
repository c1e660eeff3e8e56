#include "ContainerLines.h"

#include "records/ItemIdentity.h"

std::string dimensionText(TBKChunkKey::Dimension dimension) {
  switch (dimension) {
    case TBKChunkKey::Dimension::Nether:
      return "nether";
    case TBKChunkKey::Dimension::End:
      return "end";
    case TBKChunkKey::Dimension::Overworld:
      break;
  }
  return "overworld";
}

nlohmann::json containerJson(const ContainerSummary& container) {
  const auto& at = container.position();
  return {{"dimension", dimensionText(container.dimension())},
          {"x", at.x},
          {"y", at.y},
          {"z", at.z},
          {"id", container.id},
          {"name", container.name()}};
}

nlohmann::json itemJson(size_t slot, const TBKCompoundTag& entry) {
  return {
      {"slot", slot}, {"name", ItemIdentity::of(entry).idText()}, {"count", entry.numberForKey("Count").intValue()}};
}
