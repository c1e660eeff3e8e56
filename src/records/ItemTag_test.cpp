#include "records/ItemTag.h"

#include <functional>

#include <gtest/gtest.h>

namespace {

// An add-on may keep children of the game's names in shapes of its own; no
// change may replace them.
TEST(ItemTag, ChildrenOfAnotherTypeThanTheGamesAreLeftAloneAndTheChangeRefused) {
  using Change = std::function<bool(TBKCompoundTag&)>;
  const std::pair<const char*, Change> changes[] = {
      {"spent uses", [](TBKCompoundTag& e) { return itemtag::setSpentUses(e, 0); }},
      {"enchantment",
       [](TBKCompoundTag& e) {
         return itemtag::addEnchantment(e, {17, 3});
       }},
      {"name", [](TBKCompoundTag& e) { return itemtag::setCustomName(e, "Named"); }},
  };
  struct Odd {
    const char* what;
    std::function<void(TBKCompoundTag&)> make;
  };
  const Odd odds[] = {
      {"a string tag", [](TBKCompoundTag& e) { e.setValueForKey(std::make_shared<TBKStringTag>("tag", "mine")); }},
      {"ench of ints",
       [](TBKCompoundTag& e) {
         auto tag = std::make_shared<TBKCompoundTag>("tag");
         tag->setValueForKey(std::make_shared<TBKListTag>(
             "ench", TBKTagType::Int, std::vector<std::shared_ptr<TBKTag>>{TBKNumberTag::intTag("", 7)}));
         tag->setValueForKey(std::make_shared<TBKStringTag>("display", "mine"));
         e.setValueForKey(tag);
       }},
  };
  for (const Odd& odd : odds) {
    for (const auto& [name, change] : changes) {
      SCOPED_TRACE(std::string(odd.what) + ", " + name);
      TBKCompoundTag entry("");
      odd.make(entry);
      auto before = entry.objectForKeyedSubscript("tag");
      auto inner = entry.compoundForKey("tag");
      auto ench = inner ? inner->objectForKeyedSubscript("ench") : nullptr;
      auto display = inner ? inner->objectForKeyedSubscript("display") : nullptr;
      bool changed = change(entry);
      EXPECT_EQ(entry.objectForKeyedSubscript("tag"), before);
      if (!inner) {
        EXPECT_FALSE(changed);
        continue;
      }
      EXPECT_EQ(inner->objectForKeyedSubscript("ench"), ench);
      EXPECT_EQ(inner->objectForKeyedSubscript("display"), display);
      // Wear goes beside them; only that may change.
      EXPECT_EQ(changed, std::string(name) == "spent uses");
    }
  }
}

}  // namespace
