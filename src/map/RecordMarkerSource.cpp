#include "map/RecordMarkerSource.h"

#include "Tarnbook/TBKEntities.h"
#include "creatures/CreaturePicture.h"
#include "records/ContainerList.h"
#include "records/CreatureKind.h"
#include "ui/Application.h"

RecordMarkerSource::RecordMarkerSource(std::shared_ptr<TBKLevelDB> db) : db_(std::move(db)) {}

RecordMarkerSource::~RecordMarkerSource() { stop(); }

std::vector<MapMarker> RecordMarkerSource::markers(TBKWorldMap::Dimension dimension) {
  return found_.at(size_t(dimension));
}

RecordMarkerSource::Found RecordMarkerSource::markersOf(const std::vector<ContainerSummary>& containers,
                                                        const std::vector<std::shared_ptr<TBKEntity>>& entities) {
  Found found;
  for (const ContainerSummary& container : containers) {
    MapMarker marker{MapMarker::Kind::Container,
                     container.position().x + 0.5,
                     container.position().z + 0.5,
                     container.name(),
                     container.kind ? std::string(container.kind->picture) : "",
                     std::make_shared<const ContainerSummary>(container),
                     nullptr};
    found.at(size_t(container.dimension())).push_back(std::move(marker));
  }
  for (const auto& entity : entities) {
    auto position = entity->position();
    const std::string& name = entity->summary.name;
    MapMarker marker{MapMarker::Kind::Creature,
                     position[0],
                     position[2],
                     name.empty() ? CreatureKind::displayName(entity->identifier()) : name,
                     "",
                     nullptr,
                     entity};
    found.at(size_t(entity->dimension)).push_back(std::move(marker));
  }
  return found;
}

void RecordMarkerSource::start(std::function<void()> arrived) {
  stop();
  cancelled_ = std::make_shared<std::atomic<bool>>(false);
  reading_ = true;
  std::weak_ptr<RecordMarkerSource> weak = weak_from_this();
  worker_ = std::thread([weak, db = db_, cancelled = cancelled_, arrived = std::move(arrived)] {
    auto isCancelled = [&] { return cancelled->load(); };
    std::optional<Found> found;
    try {
      auto containers = ContainerList::list(*db, isCancelled);
      auto entities = containers.complete ? TBKEntities::list(*db, isCancelled) : std::nullopt;
      if (entities) found = markersOf(containers.containers, entities->entities);
    } catch (const TBKException&) {
      // A database that cannot be walked marks nothing; the map goes on.
      found = Found{};
    }
    if (!found) return;  // cancelled: read again on the next start
    ui::Application::post([weak, cancelled, arrived, found = std::move(*found)]() mutable {
      auto self = weak.lock();
      if (!self || cancelled->load()) return;
      for (auto& markers : found) {
        for (MapMarker& marker : markers) {
          if (marker.creature) marker.picture = creaturePicture(marker.creature->summary);
        }
      }
      self->found_ = std::move(found);
      self->reading_ = false;
      if (arrived) arrived();
    });
  });
}

void RecordMarkerSource::stop() {
  if (cancelled_) cancelled_->store(true);
  if (worker_.joinable()) worker_.join();
  reading_ = false;
}
