#pragma once

#include <optional>
#include <string>

// One record of a world's database as a write or a backup holds it: its
// key and its bytes, or no bytes for a record that is not there (a write
// removes it; a backup that holds it so removes it again on restore).
struct TBKRecord {
  std::string key;
  std::optional<std::string> value;

  bool operator==(const TBKRecord&) const = default;
};
