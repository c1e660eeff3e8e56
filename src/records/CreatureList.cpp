#include "records/CreatureList.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

#include "records/CreatureKind.h"
#include "records/CreatureRecord.h"

namespace {

using Dimension = TBKChunkKey::Dimension;

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

const char* dimensionTitle(Dimension dimension) {
  switch (dimension) {
    case Dimension::Nether:
      return "The Nether";
    case Dimension::End:
      return "The End";
    case Dimension::Overworld:
      break;
  }
  return "Overworld";
}

}  // namespace

std::vector<CreatureList::Section> CreatureList::arrange(const std::vector<std::shared_ptr<TBKEntity>>& entities,
                                                         const std::array<double, 3>& playerPosition,
                                                         Dimension playerDimension, const std::string& search) {
  std::string wanted = lowered(search);
  struct Member {
    double distance;
    std::shared_ptr<TBKEntity> entity;
  };
  // kind name -> members, per dimension
  std::map<Dimension, std::map<std::string, std::vector<Member>>> kinds;
  for (const auto& entity : entities) {
    std::string kind = CreatureKind::displayName(entity->identifier());
    const std::string& name = entity->summary.name;
    if (!wanted.empty() && lowered(name).find(wanted) == std::string::npos &&
        lowered(kind).find(wanted) == std::string::npos &&
        lowered(entity->identifier()).find(wanted) == std::string::npos) {
      continue;
    }
    auto at = entity->position();
    double distance = 0;
    for (size_t i = 0; i < 3; ++i) distance += (at[i] - playerPosition[i]) * (at[i] - playerPosition[i]);
    kinds[entity->dimension][kind].push_back({distance, entity});
  }

  std::vector<Dimension> order{playerDimension};
  for (Dimension dimension : {Dimension::Overworld, Dimension::Nether, Dimension::End}) {
    if (dimension != playerDimension) order.push_back(dimension);
  }
  std::vector<Section> sections;
  for (Dimension dimension : order) {
    auto found = kinds.find(dimension);
    if (found == kinds.end()) continue;
    std::vector<std::pair<std::string, std::vector<Member>>> groups(found->second.begin(), found->second.end());
    auto nearer = [](const Member& a, const Member& b) { return a.distance < b.distance; };
    for (auto& [kind, members] : groups) std::stable_sort(members.begin(), members.end(), nearer);
    std::stable_sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) {
      return a.second.front().distance < b.second.front().distance;
    });
    Section section{dimension, dimensionTitle(dimension), {}};
    for (const auto& [kind, members] : groups) {
      section.rows.push_back({kind + " (" + std::to_string(members.size()) + ")", nullptr});
      for (const auto& member : members) {
        const std::string& name = member.entity->summary.name;
        section.rows.push_back({name.empty() ? kind : name, member.entity});
      }
    }
    sections.push_back(std::move(section));
  }
  return sections;
}

std::vector<std::shared_ptr<TBKEntity>> CreatureList::ofKind(const std::vector<std::shared_ptr<TBKEntity>>& entities,
                                                             const std::string& identifier) {
  std::vector<std::shared_ptr<TBKEntity>> chosen;
  for (const auto& entity : entities) {
    if (entity->identifier() == identifier) chosen.push_back(entity);
  }
  return chosen;
}

std::string CreatureList::detail(const TBKEntity& entity) {
  auto at = entity.position();
  std::string text;
  for (size_t i = 0; i < 3; ++i) {
    // The block it stands in; a position past any block (a hostile record's)
    // shows as 0 rather than being converted.
    double block = std::isfinite(at[i]) && std::fabs(at[i]) < 1e9 ? std::floor(at[i]) : 0;
    text += (i ? ", " : "") + std::to_string(static_cast<long long>(block));
  }
  if (const auto& health = entity.summary.health) {
    text += " \u00b7 " + std::to_string(int(health->current.floatValue())) + "/" +
            std::to_string(int(health->maximum.floatValue())) + " health";
  }
  if (CreatureRecord::tamedOf(entity.summary)) text += " \u00b7 tamed";
  if (!entity.listed) text += " \u00b7 in no chunk's list";
  return text;
}
