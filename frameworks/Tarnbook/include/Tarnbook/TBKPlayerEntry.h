#pragma once

#include <string>

// One player of a world as TBKLevelDB::players() lists it. The local player
// lives under "~local_player"; every other player the game or a server saved
// has a small "player_<id>" record whose "ServerId" string names the key of
// the full record, "player_server_<uuid>".
struct TBKPlayerEntry {
  static constexpr const char* localKey = "~local_player";
  static constexpr const char* idPrefix = "player_";
  static constexpr const char* serverPrefix = "player_server_";

  // The key of the full record: what playerForKey() takes. For a pointer
  // that names no usable key, the text it holds (possibly empty).
  std::string key;
  // The <id> of the "player_<id>" record that names it; empty for the local
  // player and for a "player_server_" record that no pointer names.
  std::string id;
  // Empty when the record is there; otherwise, for the user, why it cannot
  // be opened (the pointer names a record the database does not hold, or
  // the pointer itself is damaged).
  std::string missing;

  bool isLocal() const { return key == localKey; }
};
