// screen_pictures <docs folder>: the README's pictures of the containers
// screens, drawn from the real screens over a private copy of the demo game
// at twice the size: the list of today's world, its double chest, its
// furnace and the places of an elytra.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>

#include "MenuOnScreen.h"
#include "containers/ContainerTableViewCell.h"
#include "containers/ContainersTableViewController.h"
#include "containers/FindItemTableViewController.h"
#include "equipment/ItemSelectorTableViewController.h"

namespace {

const char* const todaysWorld = "bW9kZXJuAA==";

// The list's container whose name and capacity are these.
std::optional<ContainerSummary> listed(const ContainersTableViewController& list, const std::string& name,
                                       size_t capacity) {
  for (const auto& section : list.sections) {
    for (const auto& container : section.containers) {
      if (container.name() == name && container.capacity() == capacity) return container;
    }
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <docs folder>\n", argv[0]);
    return 2;
  }
  std::string docs = argv[1];
  MenuOnScreen s;
  auto backTo = [&](const std::shared_ptr<ui::ViewController>& screen) {
    while (s.navigation->topViewController() != screen && s.navigation->popViewControllerAnimated(false)) {}
    s.driver.runUntilIdle();
  };
  auto draw = [&](const std::string& name) {
    s.driver.runUntilIdle();
    if (!s.driver.renderToPNG(*s.window, docs + "/" + name, 2)) {
      std::fprintf(stderr, "could not write %s\n", name.c_str());
      std::exit(1);
    }
  };
  if (!s.openWorld(todaysWorld)) return 1;
  auto level = s.top<LevelTableViewController>();
  s.tapEdit("Containers");
  auto list = s.top<ContainersTableViewController>();
  if (!list || !s.driver.runUntil([&] { return list->listed(); })) return 1;
  draw("containers.png");

  for (const auto& [name, capacity, picture] :
       {std::tuple<std::string, size_t, std::string>{"Chest", 54, "containers-double-chest.png"},
        {"Furnace", 3, "containers-furnace.png"}}) {
    auto container = listed(*list, name, capacity);
    if (!container) return 1;
    list->open(*container);
    draw(picture);
    backTo(list);
  }

  backTo(level);
  s.tapEdit("Find an Item");
  auto picker = s.top<ItemSelectorTableViewController>();
  if (!picker) return 1;
  const auto& items = picker->allItems();
  auto catalogue = BVLItemIDSource::sharedSource();
  for (long row = 0; size_t(row) < items.size(); ++row) {
    if (catalogue->itemDefinitionWithStringRepresentation(items[size_t(row)])->identifier != "minecraft:elytra")
      continue;
    picker->didSelectRowAtIndexPath(*picker->tableView(), ui::IndexPath{0, row});
    break;
  }
  s.driver.runUntilIdle();
  auto found = s.top<FindItemTableViewController>();
  if (!found || !s.driver.runUntil([&] { return found->listed(); })) return 1;
  draw("find-item.png");
  return 0;
}
