#include "records/ItemGrid.h"

#include <algorithm>
#include <numeric>

#include "records/ItemIdentity.h"

namespace {
constexpr size_t hiddenEntries = 9;  // the hotbar links at the head of the list
}  // namespace

uint8_t ItemGrid::slotOf(const TBKListTag& entries, size_t index) {
  auto entry = entries.compoundAtIndex(index);
  return entry ? entry->numberForKey("Slot").unsignedCharValue() : 0;
}

std::vector<size_t> ItemGrid::gridEntries(const TBKListTag& entries) {
  size_t count = entries.count();
  if (slotOffset(entries) != 0) {
    std::vector<size_t> shown;
    for (size_t index = hiddenEntries; index < count; ++index) shown.push_back(index);
    return shown;
  }
  std::vector<size_t> shown(count);
  std::iota(shown.begin(), shown.end(), size_t{0});
  // The game writes the slots in order; a list that is not keeps its own
  // order among equal slot numbers.
  std::stable_sort(shown.begin(), shown.end(),
                   [&](size_t a, size_t b) { return slotOf(entries, a) < slotOf(entries, b); });
  return shown;
}

// Only the early inventory links the hotbar at its head.
int ItemGrid::slotOffset(const TBKListTag& entries) {
  return entries.name() != "Inventory" || ItemIdentity::holdsNamed(entries) ? 0 : static_cast<int>(hiddenEntries);
}

size_t ItemGrid::cellCount(const TBKListTag& entries, size_t capacity) {
  if (capacity == 0) return gridEntries(entries).size();
  size_t cells = capacity;
  for (size_t i = 0; i < entries.count(); ++i) cells = std::max(cells, size_t{slotOf(entries, i)} + 1);
  return cells;
}

std::optional<size_t> ItemGrid::entryPosition(const TBKListTag& entries, size_t capacity, size_t cell) {
  auto shown = gridEntries(entries);
  if (capacity == 0) return cell < shown.size() ? std::optional<size_t>(cell) : std::nullopt;
  for (size_t position = 0; position < shown.size(); ++position) {
    if (slotOf(entries, shown[position]) == cell) return position;
  }
  return std::nullopt;
}
