#include "records/CreatureItemSource.h"

#include "Tarnbook/TBKEntities.h"
#include "Tarnbook/TBKException.h"
#include "records/CreatureRecord.h"

ItemFinder::Source CreatureItemSource::make() {
  return [](TBKLevelDB& db, const ItemIdentity& item, const std::function<void(ItemFinder::Found)>& report,
            DamagedRecords& damaged, const std::function<bool()>& cancelled) {
    auto listing = TBKEntities::list(db, cancelled);
    if (!listing) return false;
    damaged.addAll(listing->problems, listing->problemsNotTold);
    auto place = [&](const std::shared_ptr<TBKEntity>& entity, const std::string& list) {
      return [&, list](size_t slot, std::optional<size_t> boxSlot, int count) {
        ItemFinder::Found found;
        found.creature = entity;
        found.list = list;
        found.slot = slot;
        found.boxSlot = boxSlot;
        found.count = count;
        report(std::move(found));
      };
    };
    for (const auto& entity : listing->entities) {
      if (cancelled && cancelled()) return false;
      // One tree at a time: a listing keeps none, and a found item keeps
      // only its creature's place.
      try {
        TBKEntities::load(db, *entity);
      } catch (const TBKException& error) {
        if (error.kind() != TBKException::Kind::Format) throw;
        continue;  // changed since the listing: the next search finds it
      }
      struct Unload {
        TBKEntity& entity;
        ~Unload() { entity.tree.reset(); }
      } unload{*entity};
      if (auto own = entity->tree->compoundForKey("Item"); own && entity->identifier() == "minecraft:item") {
        ItemFinder::findIn({{0, own}}, item, place(entity, "Item"));
      }
      for (const auto& list : CreatureRecord::itemListsOf(*entity->tree)) {
        auto entries = entity->tree->listForKey(list.key);
        std::vector<ContainerSummary::Item> items;
        // A container's grid shows an entry at its "Slot", any other list
        // by position (armor: head, chest, legs, feet).
        for (size_t i = 0; i < entries->count(); ++i) {
          auto entry = entries->compoundAtIndex(i);
          if (entry) items.push_back({list.capacity ? entry->numberForKey("Slot").unsignedCharValue() : i, entry});
        }
        ItemFinder::findIn(items, item, place(entity, list.key));
      }
    }
    return true;
  };
}
