#include <set>
#include <string_view>

#include "ReadLimits.h"
#include "TBKWorldStore.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKNBT.h"

// TBKLevelDB's players besides the local one: the records a server keeps
// under "player_server_<uuid>", reached through "player_<id>" records.

namespace {

constexpr const char* playerKey = TBKPlayerEntry::localKey;

bool isFormatFailure(const TBKException& error) { return error.kind() == TBKException::Kind::Format; }

bool isServerKey(std::string_view key) {
  std::string_view prefix = TBKPlayerEntry::serverPrefix;
  return key.size() > prefix.size() && key.substr(0, prefix.size()) == prefix;
}

// Why the record a pointer names cannot be opened, or "" when it can.
std::string pointerProblem(const TBKPlayerEntry& entry, const std::set<std::string, std::less<>>& records) {
  std::string pointer = TBKPlayerEntry::idPrefix + entry.id;
  if (entry.key.empty()) return "Its record " + pointer + " names no player record (it has no ServerId).";
  if (!isServerKey(entry.key))
    return "Its record " + pointer + " names " + entry.key + ", which is not a player record.";
  if (!records.count(entry.key)) {
    return "Its record " + pointer + " names the player record " + entry.key +
           ", which is not in the world's database.";
  }
  return "";
}

}  // namespace

std::vector<TBKPlayerEntry> TBKLevelDB::players() {
  std::vector<TBKPlayerEntry> list;
  TBKPlayerEntry local{playerKey, "", ""};
  const char* notYet = "This world has no player of its own yet: play it in the game once.";
  if (!hasDatabase()) {
    if (!player_ && !levelData()->compoundForKey("Player")) local.missing = notYet;
    list.push_back(std::move(local));
    return list;
  }
  if (!player_ && !store().get(playerKey)) local.missing = notYet;
  list.push_back(std::move(local));

  // A pointer is read as it is met and only what it names is kept: a world
  // may hold any number of them, of any length.
  std::vector<TBKPlayerEntry> pointers;  // key: the ServerId, or "" with missing set
  std::set<std::string, std::less<>> records;
  std::string_view idPrefix = TBKPlayerEntry::idPrefix;
  store().forEachWithPrefix(idPrefix, [&](std::string_view key, std::string_view value) {
    if (isServerKey(key)) {
      records.emplace(key);
      return;
    }
    TBKPlayerEntry entry{"", std::string(key.substr(idPrefix.size())), ""};
    try {
      tbk::checkReadLimit("the record", value.size(), tbk::readLimit::playerPointer);
      entry.key = TBKNBT::parseCompound(value)->stringForKey("ServerId");
    } catch (const TBKException& error) {
      if (!isFormatFailure(error)) throw;
      entry.missing = "Its record " + std::string(key) + " is damaged (" + error.reason() + ").";
    }
    pointers.push_back(std::move(entry));
  });

  std::set<std::string, std::less<>> listed;
  for (auto& entry : pointers) {
    if (entry.missing.empty()) entry.missing = pointerProblem(entry, records);
    if (entry.missing.empty() && !listed.insert(entry.key).second) continue;
    list.push_back(std::move(entry));
  }
  for (const auto& key : records) {
    if (!listed.count(key)) list.push_back(TBKPlayerEntry{key, "", ""});
  }
  return list;
}

std::shared_ptr<TBKCompoundTag> TBKLevelDB::playerForKey(const std::string& key) {
  if (key == playerKey) return player();
  if (!isServerKey(key) || !hasDatabase()) {
    throw TBKException(TBKException::Kind::Usage,
                       "\"" + key + "\" is not the key of a player record of the world \"" + name_ + "\".");
  }
  auto known = others_.find(key);
  if (known != others_.end()) return known->second;
  auto record = store().get(key);
  if (!record) {
    throw TBKException(TBKException::Kind::Format, "The world \"" + name_ + "\" holds no player record " + key + ".");
  }
  try {
    return others_[key] = TBKNBT::parseCompound(*record);
  } catch (const TBKException& error) {
    if (!isFormatFailure(error)) throw;
    throw TBKException(TBKException::Kind::Format, "The player record " + key + " of the world \"" + name_ +
                                                       "\" is damaged (" + error.reason() + ").");
  }
}

void TBKLevelDB::setPlayerForKey(const std::string& key, std::shared_ptr<TBKCompoundTag> player) {
  if (key == playerKey) return setPlayer(std::move(player));
  if (!player) throw TBKException(TBKException::Kind::Usage, "No player data was given to save.");
  if (!isServerKey(key) || !hasDatabase()) {
    throw TBKException(TBKException::Kind::Usage,
                       "\"" + key + "\" is not the key of a player record of the world \"" + name_ + "\".");
  }
  std::string record = TBKNBT::serialise(*player);
  backUpOnce();
  others_[key] = std::move(player);
  store().put(key, record);
}
