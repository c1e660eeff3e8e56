#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The records a walk over a world passed over as damaged: the reasons of the
// first maximumReasons, and how many there were, so that a world of damaged
// records costs no more memory than one.
struct DamagedRecords {
  static constexpr size_t maximumReasons = 10;
  std::vector<std::string> reasons;
  size_t count = 0;

  void add(std::string reason);
  // Reasons past this one's first ten are counted, as are notTold.
  void addAll(const std::vector<std::string>& reasons, size_t notTold);
  void addAll(const DamagedRecords& other) { addAll(other.reasons, other.count - other.reasons.size()); }
  bool empty() const { return count == 0; }
  // `opening`, the reasons, then how many more there were: "Some containers
  // could not be listed. <reasons> And 3 more."
  std::string told(const std::string& opening) const;
};
