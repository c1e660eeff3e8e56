#include "ContainerLines.h"

#include <cctype>

#include "records/ItemIdentity.h"

std::string dimensionText(TBKChunkKey::Dimension dimension) {
  std::string text = TBKChunkKey::dimensionName(dimension);
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
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
