#include "records/ContainerList.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

#include "Tarnbook/TBKBlockEntities.h"

namespace {

using Dimension = TBKChunkKey::Dimension;
using Place = std::tuple<int32_t, int32_t, int32_t, int32_t>;  // dimension, x, y, z

Place placeOf(const ContainerSummary& container) {
  const auto& at = container.position();
  return {static_cast<int32_t>(container.dimension()), at.x, at.y, at.z};
}

// The game keeps a double chest as two chests, each naming the other.
void joinPairs(std::vector<ContainerSummary>& containers) {
  std::map<Place, size_t> chests;
  for (size_t i = 0; i < containers.size(); ++i) {
    if (containers[i].pair) chests.emplace(placeOf(containers[i]), i);
  }
  std::vector<bool> joined(containers.size(), false);
  for (size_t i = 0; i < containers.size(); ++i) {
    auto& one = containers[i];
    if (!one.pair || joined[i]) continue;
    auto [dimension, x, y, z] = placeOf(one);
    auto found = chests.find({dimension, one.pair->x, y, one.pair->z});
    if (found == chests.end() || found->second == i || joined[found->second]) continue;
    auto& other = containers[found->second];
    if (!other.pair || other.pair->x != x || other.pair->z != z) continue;
    // The half marked as the lead shows first; with neither or both marked,
    // the one further west, then north.
    bool oneLeads = one.pair->lead != other.pair->lead
                        ? one.pair->lead
                        : std::make_pair(x, z) < std::make_pair(other.pair->x, other.pair->z);
    size_t lead = oneLeads ? i : found->second, second = oneLeads ? found->second : i;
    containers[lead].join(std::move(containers[second]));
    joined[i] = joined[found->second] = true;
    joined[second] = true;
    containers[second].halves.clear();
  }
  std::erase_if(containers, [](const ContainerSummary& container) { return container.halves.empty(); });
}

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

double scaleFor(Dimension from, Dimension to) {
  if (from == Dimension::Overworld && to == Dimension::Nether) return 1.0 / 8;
  if (from == Dimension::Nether && to == Dimension::Overworld) return 8;
  return 1;
}

}  // namespace

ContainerList::Listing ContainerList::list(TBKLevelDB& db, const std::function<bool()>& cancelled,
                                           const std::function<void(double)>& progress,
                                           const std::function<void(const ContainerSummary&)>& visit) {
  Listing listing;
  listing.complete = TBKBlockEntities::forEach(
      db,
      [&](const TBKBlockEntity& entity) {
        auto summary = ContainerSummary::of(entity.chunk, entity.index, *entity.root);
        if (!summary) return true;
        if (listing.containers.size() == maximumListed) {
          ++listing.notListed;
          return true;
        }
        if (visit) visit(*summary);
        summary->items = {};
        listing.containers.push_back(std::move(*summary));
        return true;
      },
      [&](const TBKBlockEntities::Damage& damage) { listing.damaged.add(damage.reason); }, progress, cancelled);
  if (cancelled && cancelled()) listing.complete = false;
  joinPairs(listing.containers);
  return listing;
}

ContainerList::Placements ContainerList::placements(const std::vector<ContainerSummary>& containers) {
  Placements placements;
  for (size_t i = 0; i < containers.size(); ++i) {
    const auto& halves = containers[i].halves;
    for (size_t h = 0; h < halves.size(); ++h) {
      size_t firstSlot = h == 0 ? 0 : h * containers[i].kind->slots;
      placements.emplace(std::make_pair(halves[h].chunk.bytes(), halves[h].index), Placed{i, firstSlot});
    }
  }
  return placements;
}

std::optional<ContainerList::Placed> ContainerList::placed(const Placements& placements,
                                                           const ContainerSummary::Half& half) {
  auto at = placements.find({half.chunk.bytes(), half.index});
  if (at == placements.end()) return std::nullopt;
  return at->second;
}

bool ContainerList::matches(const ContainerSummary& container, const std::string& search) {
  std::string wanted = lowered(search);
  const std::string texts[] = {container.name(), container.kind ? std::string(container.kind->name) : container.id,
                               container.id, TBKChunkKey::dimensionName(container.dimension()),
                               container.positionText()};
  for (const std::string& text : texts) {
    if (lowered(text).find(wanted) != std::string::npos) return true;
  }
  return false;
}

std::vector<ContainerList::Section> ContainerList::sections(std::vector<ContainerSummary> containers, double x,
                                                            double z, Dimension dimension, const std::string& search) {
  if (!search.empty()) std::erase_if(containers, [&](const auto& container) { return !matches(container, search); });
  std::vector<Section> sections;
  for (Dimension shown : {Dimension::Overworld, Dimension::Nether, Dimension::End}) {
    Section section{shown, {}};
    double scale = scaleFor(dimension, shown);
    double px = x * scale, pz = z * scale;
    for (auto& container : containers) {
      if (!container.halves.empty() && container.dimension() == shown)
        section.containers.push_back(std::move(container));
    }
    auto distance = [&](const ContainerSummary& container) {
      double dx = container.position().x + 0.5 - px, dz = container.position().z + 0.5 - pz;
      return dx * dx + dz * dz;
    };
    std::stable_sort(section.containers.begin(), section.containers.end(),
                     [&](const auto& a, const auto& b) { return distance(a) < distance(b); });
    if (!section.containers.empty()) sections.push_back(std::move(section));
  }
  return sections;
}
