#include "map/RecordMarkerSource.h"

#include <gtest/gtest.h>

#include "ContainerWorld.h"
#include "Tarnbook/TBKEntities.h"

namespace {

using Dimension = TBKChunkKey::Dimension;

ContainerSummary container(const char* id, Dimension dimension, int32_t x, int32_t z, const char* name) {
  ContainerSummary summary;
  summary.halves = {{tbktest::chunkKey(x >> 4, z >> 4, dimension), 0, x, 64, z}};
  summary.id = id;
  summary.kind = ContainerKind::forId(id);
  summary.customName = name;
  return summary;
}

std::shared_ptr<TBKEntity> creature(const char* identifier, Dimension dimension, float x, float z, const char* name) {
  auto entity = std::make_shared<TBKEntity>();
  entity->dimension = dimension;
  entity->tree = std::make_shared<TBKCompoundTag>("");
  entity->tree->setValueForKey(std::make_shared<TBKListTag>(
      "Pos", TBKTagType::Float,
      std::vector<std::shared_ptr<TBKTag>>{TBKNumberTag::floatTag("", x), TBKNumberTag::floatTag("", 64),
                                           TBKNumberTag::floatTag("", z)}));
  entity->tree->setValueForKey(std::make_shared<TBKStringTag>("identifier", identifier));
  if (*name) entity->tree->setValueForKey(std::make_shared<TBKStringTag>("CustomName", name));
  entity->summary = TBKEntities::summaryOf(*entity->tree);
  return entity;
}

// Each container and creature is marked in its own dimension, at the middle
// of its block or where it stands, with its name, its picture and the very
// record a tap opens.
TEST(RecordMarkerSource, MarksEachContainerAndCreatureInItsOwnDimension) {
  std::vector<ContainerSummary> containers{container("Chest", Dimension::Nether, 5, 5, ""),
                                           container("Barrel", Dimension::Overworld, 17, 3, "Loot")};
  std::vector<std::shared_ptr<TBKEntity>> entities{
      creature("minecraft:wolf", Dimension::Overworld, 20.5f, -3.25f, "Rex"),
      creature("minecraft:zombie", Dimension::End, -40.5f, 100.5f, "")};
  auto found = RecordMarkerSource::markersOf(containers, entities);

  struct Expected {
    MapMarker::Kind kind;
    double x, z;
    const char* title;
    const char* picture;
    const ContainerSummary* container;
    const TBKEntity* creature;
  };
  using Kind = MapMarker::Kind;
  std::vector<Expected> expected[3] = {
      {{Kind::Container, 17.5, 3.5, "Loot", "minecraft:barrel", &containers[1], nullptr},
       {Kind::Creature, 20.5, -3.25, "Rex", "", nullptr, entities[0].get()}},
      {{Kind::Container, 5.5, 5.5, "Chest", "minecraft:chest", &containers[0], nullptr}},
      {{Kind::Creature, -40.5, 100.5, "Zombie", "", nullptr, entities[1].get()}},
  };
  for (size_t dimension = 0; dimension < 3; ++dimension) {
    ASSERT_EQ(found[dimension].size(), expected[dimension].size()) << "dimension " << dimension;
    for (size_t i = 0; i < expected[dimension].size(); ++i) {
      const MapMarker& marker = found[dimension][i];
      const Expected& want = expected[dimension][i];
      EXPECT_EQ(marker.kind, want.kind);
      EXPECT_EQ(marker.x, want.x);
      EXPECT_EQ(marker.z, want.z);
      EXPECT_EQ(marker.title, want.title);
      EXPECT_EQ(marker.picture, want.picture);
      EXPECT_EQ(marker.creature.get(), want.creature);
      if (want.container) {
        ASSERT_NE(marker.container, nullptr);
        EXPECT_EQ(marker.container->position().x, want.container->position().x);
        EXPECT_EQ(marker.container->dimension(), want.container->dimension());
      }
    }
  }
}

}  // namespace
