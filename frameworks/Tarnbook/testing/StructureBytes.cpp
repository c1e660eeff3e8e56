#include "StructureBytes.h"

#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace tbktest {
namespace {

std::shared_ptr<TBKCompoundTag> compound(const std::string& name, std::vector<std::shared_ptr<TBKTag>> children) {
  auto tag = std::make_shared<TBKCompoundTag>(name);
  for (auto& child : children) tag->setValueForKey(child);
  return tag;
}

}  // namespace

std::shared_ptr<TBKListTag> ints(const std::string& name, std::vector<int32_t> values) {
  std::vector<std::shared_ptr<TBKTag>> entries;
  for (int32_t value : values) entries.push_back(TBKNumberTag::intTag("", value));
  return std::make_shared<TBKListTag>(name, TBKTagType::Int, entries);
}

std::string structureBytes(const std::function<void(TBKCompoundTag&)>& change) {
  auto block = [](const char* name) {
    return compound("", {std::make_shared<TBKStringTag>("name", name), compound("states", {}),
                         TBKNumberTag::intTag("version", 18040335)});
  };
  auto root = compound(
      "",
      {TBKNumberTag::intTag("format_version", 1), ints("size", {2, 1, 1}),
       compound(
           "structure",
           {std::make_shared<TBKListTag>("block_indices", TBKTagType::List,
                                         std::vector<std::shared_ptr<TBKTag>>{ints("", {0, -1}), ints("", {-1, 1})}),
            std::make_shared<TBKListTag>("entities", TBKTagType::Compound),
            compound("palette",
                     {compound("default",
                               {std::make_shared<TBKListTag>("block_palette", TBKTagType::Compound,
                                                             std::vector<std::shared_ptr<TBKTag>>{
                                                                 block("minecraft:stone"), block("minecraft:water")}),
                                compound("block_position_data",
                                         {compound("0", {compound("block_entity_data", {std::make_shared<TBKStringTag>(
                                                                                           "id", "Chest")})})})})})}),
       ints("structure_world_origin", {10, 64, -5})});
  if (change) change(*root);
  return TBKNBT::serialise(*root);
}

}  // namespace tbktest
