#include "Tarnbook/TBKEntities.h"

#include <charconv>
#include <map>
#include <utility>

#include "LittleEndian.h"
#include "RecordShape.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"

namespace {

using Dimension = TBKChunkKey::Dimension;

constexpr std::string_view entityPrefix = "actorprefix";
constexpr size_t entityKeySize = entityPrefix.size() + 8;
constexpr size_t idSize = 8;

bool isEntityKey(std::string_view key) {
  return key.size() == entityKeySize && key.substr(0, entityPrefix.size()) == entityPrefix;
}

// A digest's chunk; none for any other key.
std::optional<TBKChunkKey> digestChunk(std::string_view key) {
  if ((key.size() != 12 && key.size() != 16) || key.substr(0, 4) != "digp") return std::nullopt;
  TBKChunkKey chunk;
  chunk.x = tbk::readLittleEndian<int32_t>(key.data() + 4);
  chunk.z = tbk::readLittleEndian<int32_t>(key.data() + 8);
  if (key.size() == 16) {
    int32_t dimension = tbk::readLittleEndian<int32_t>(key.data() + 12);
    if (dimension != 1 && dimension != 2) return std::nullopt;
    chunk.dimension = static_cast<Dimension>(dimension);
  }
  return chunk;
}

TBKException damaged(std::string_view key, const std::string& reason) {
  return TBKException(TBKException::Kind::Format,
                      "The world's " + tbk::recordName(key) + " is damaged (" + reason + "); it was left as it is.");
}

// A digest's bytes, checked to be whole ids; "" for one the world lacks.
std::string readDigest(TBKLevelDB& db, const std::string& key) {
  std::string digest = db.record(key).value_or("");
  if (auto damage = tbk::recordDamage(key, digest)) throw damaged(key, *damage);
  return digest;
}

bool digestHolds(std::string_view digest, std::string_view id) {
  for (size_t at = 0; at + idSize <= digest.size(); at += idSize) {
    if (digest.substr(at, idSize) == id) return true;
  }
  return false;
}

std::string withoutId(std::string_view digest, std::string_view id) {
  std::string kept;
  for (size_t at = 0; at + idSize <= digest.size(); at += idSize) {
    if (digest.substr(at, idSize) != id) kept += digest.substr(at, idSize);
  }
  return kept;
}

std::string withId(std::string digest, std::string_view id) {
  if (!digestHolds(digest, id)) digest += id;
  return digest;
}

// Where an old-form entity's root lies in its chunk's value now.
struct RootPlace {
  size_t index, start, end;
};

RootPlace findRoot(std::string_view value, const TBKEntity& entity) {
  std::vector<size_t> ends;
  try {
    TBKNBT::parseRoots(value, &ends);
  } catch (const TBKException& error) {
    if (error.kind() != TBKException::Kind::Format) throw;
    throw damaged(entity.key, error.reason());
  }
  auto place = [&](size_t index) { return RootPlace{index, index == 0 ? 0 : ends[index - 1], ends[index]}; };
  auto holdsEntity = [&](const RootPlace& at) { return value.substr(at.start, at.end - at.start) == entity.stored; };
  if (*entity.root < ends.size() && holdsEntity(place(*entity.root))) return place(*entity.root);
  for (size_t index = 0; index < ends.size(); ++index) {
    if (holdsEntity(place(index))) return place(index);
  }
  throw TBKException(TBKException::Kind::Format, "The " + entity.identifier() + " in " + tbk::recordName(entity.key) +
                                                     " was changed since it was read. List the world's creatures "
                                                     "again.");
}

std::string spliced(std::string_view value, const RootPlace& at, std::string_view replacement) {
  std::string out(value.substr(0, at.start));
  out += replacement;
  out += value.substr(at.end);
  return out;
}

std::string presentValue(const std::optional<std::string>& value, const TBKEntity& entity) {
  if (!value) {
    throw TBKException(TBKException::Kind::Format,
                       "The world no longer holds " + tbk::recordName(entity.key) + ". List its creatures again.");
  }
  return *value;
}

// "Pos" as three numbers of the list's own type (floats, as the game
// writes them, unless the list holds doubles).
std::shared_ptr<TBKListTag> positionList(const TBKCompoundTag& tree, const std::array<double, 3>& position) {
  auto old = tree.listForKey("Pos");
  bool doubles = old && old->count() > 0 && old->elementType() == TBKTagType::Double;
  std::vector<std::shared_ptr<TBKTag>> entries;
  for (double coordinate : position) {
    entries.push_back(doubles ? TBKNumberTag::doubleTag("", coordinate)
                              : TBKNumberTag::floatTag("", static_cast<float>(coordinate)));
  }
  return std::make_shared<TBKListTag>("Pos", doubles ? TBKTagType::Double : TBKTagType::Float, std::move(entries));
}

void readOldForm(std::string_view key, std::string_view value, const TBKChunkKey& chunk,
                 TBKEntities::Listing& listing) {
  std::vector<size_t> ends;
  std::vector<std::shared_ptr<TBKCompoundTag>> roots;
  try {
    roots = TBKNBT::parseRoots(value, &ends);
  } catch (const TBKException& error) {
    if (error.kind() != TBKException::Kind::Format) throw;
    listing.problems.push_back(damaged(key, error.reason()).reason());
    return;
  }
  for (size_t index = 0; index < roots.size(); ++index) {
    size_t start = index == 0 ? 0 : ends[index - 1];
    auto entity = std::make_shared<TBKEntity>();
    entity->key = std::string(key);
    entity->root = index;
    entity->chunkX = chunk.x;
    entity->chunkZ = chunk.z;
    entity->dimension = chunk.dimension;
    entity->tree = roots[index];
    entity->stored = std::string(value.substr(start, ends[index] - start));
    listing.entities.push_back(std::move(entity));
  }
}

// An entity no digest names stands where its position is.
void placeByPosition(TBKEntity& entity) {
  auto position = entity.position();
  entity.chunkX = TBKChunkKey::chunkOf(position[0]);
  entity.chunkZ = TBKChunkKey::chunkOf(position[2]);
  int32_t dimension = entity.tree->numberForKey("DimensionId").intValue();
  entity.dimension = dimension == 1 || dimension == 2 ? static_cast<Dimension>(dimension) : Dimension::Overworld;
  entity.listed = false;
}

}  // namespace

std::optional<TBKEntities::Listing> TBKEntities::list(TBKLevelDB& db, const std::function<bool()>& cancelled,
                                                      const std::function<void(double)>& progress) {
  Listing listing;
  // Records sort before their digests ("actorprefix" < "digp"), so they are
  // placed once the walk is over.
  std::map<std::string, std::shared_ptr<TBKEntity>, std::less<>> byId;
  std::vector<std::pair<std::string, TBKChunkKey>> digests;
  bool finished = db.forEachRecord(
      [&](std::string_view key, std::string_view value) {
        if (cancelled && cancelled()) return false;
        if (isEntityKey(key)) {
          auto entity = std::make_shared<TBKEntity>();
          entity->key = std::string(key);
          try {
            entity->tree = TBKNBT::parseCompound(value);
          } catch (const TBKException& error) {
            if (error.kind() != TBKException::Kind::Format) throw;
            listing.problems.push_back(damaged(key, error.reason()).reason());
            return true;
          }
          byId.emplace(entity->key.substr(entityPrefix.size()), entity);
          listing.entities.push_back(std::move(entity));
        } else if (auto digest = digestChunk(key)) {
          if (auto damage = tbk::recordDamage(key, value)) {
            listing.problems.push_back(damaged(key, *damage).reason());
          } else {
            digests.emplace_back(std::string(value), *digest);
          }
        } else if (auto chunk = TBKChunkKey::parse(key); chunk && chunk->tag == TBKChunkKey::Tag::Entities) {
          readOldForm(key, value, *chunk, listing);
        }
        return true;
      },
      progress);
  if (!finished) return std::nullopt;

  for (auto& entity : listing.entities) {
    if (entity->ownRecord()) entity->listed = false;
  }
  for (const auto& [ids, chunk] : digests) {
    for (size_t at = 0; at + idSize <= ids.size(); at += idSize) {
      std::string_view id = std::string_view(ids).substr(at, idSize);
      auto found = byId.find(id);
      if (found == byId.end()) {
        listing.problems.push_back("The " + tbk::recordName(TBKEntity::digestKey(chunk.x, chunk.z, chunk.dimension)) +
                                   " names " + tbk::recordName(std::string(entityPrefix) + std::string(id)) +
                                   ", which the world does not hold.");
        continue;
      }
      TBKEntity& entity = *found->second;
      if (entity.listed) continue;  // named twice: the first digest counts
      entity.listed = true;
      entity.chunkX = chunk.x;
      entity.chunkZ = chunk.z;
      entity.dimension = chunk.dimension;
    }
  }
  for (auto& entity : listing.entities) {
    if (entity->ownRecord() && !entity->listed) placeByPosition(*entity);
  }
  return listing;
}

std::shared_ptr<TBKEntity> TBKEntities::read(TBKLevelDB& db, const std::string& idText) {
  auto number = [](std::string_view text, auto& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
  };
  if (idText.rfind("chunk:", 0) == 0) {
    std::vector<std::string_view> fields;
    std::string_view rest = std::string_view(idText).substr(6);
    for (size_t colon; (colon = rest.find(':')) != std::string_view::npos; rest.remove_prefix(colon + 1)) {
      fields.push_back(rest.substr(0, colon));
    }
    fields.push_back(rest);
    TBKChunkKey chunk;
    chunk.tag = TBKChunkKey::Tag::Entities;
    int32_t dimension = 0;
    size_t root = 0;
    if (fields.size() != 4 || !number(fields[0], chunk.x) || !number(fields[1], chunk.z) ||
        !number(fields[2], dimension) || dimension < 0 || dimension > 2 || !number(fields[3], root)) {
      return nullptr;
    }
    chunk.dimension = static_cast<Dimension>(dimension);
    auto value = db.record(chunk.bytes());
    if (!value) return nullptr;
    Listing listing;
    readOldForm(chunk.bytes(), *value, chunk, listing);
    if (!listing.problems.empty()) throw TBKException(TBKException::Kind::Format, listing.problems.front());
    return root < listing.entities.size() ? listing.entities[root] : nullptr;
  }
  int64_t id = 0;
  if (!number(idText, id)) return nullptr;
  auto entity = std::make_shared<TBKEntity>();
  entity->key = std::string(entityPrefix);
  tbk::appendLittleEndian(entity->key, id);
  auto value = db.record(entity->key);
  if (!value) return nullptr;
  try {
    entity->tree = TBKNBT::parseCompound(*value);
  } catch (const TBKException& error) {
    if (error.kind() != TBKException::Kind::Format) throw;
    throw damaged(entity->key, error.reason());
  }
  // The game lists an entity in the digest of the chunk it stands in.
  placeByPosition(*entity);
  for (Dimension dimension : {entity->dimension, Dimension::Overworld, Dimension::Nether, Dimension::End}) {
    std::string digest = TBKEntity::digestKey(entity->chunkX, entity->chunkZ, dimension);
    if (digestHolds(readDigest(db, digest), entity->key.substr(entityPrefix.size()))) {
      entity->dimension = dimension;
      entity->listed = true;
      break;
    }
  }
  return entity;
}

void TBKEntities::write(TBKLevelDB& db, TBKEntity& entity) {
  std::string bytes = TBKNBT::serialise(*entity.tree);
  if (entity.ownRecord()) {
    db.writeRecords({{entity.key, bytes}});
    return;
  }
  std::string value = presentValue(db.record(entity.key), entity);
  RootPlace at = findRoot(value, entity);
  db.writeRecords({{entity.key, spliced(value, at, bytes)}});
  entity.root = at.index;
  entity.stored = std::move(bytes);
}

void TBKEntities::remove(TBKLevelDB& db, TBKEntity& entity) {
  removeAll(db, {std::shared_ptr<TBKEntity>(&entity, [](TBKEntity*) {})});
}

void TBKEntities::removeAll(TBKLevelDB& db, const std::vector<std::shared_ptr<TBKEntity>>& entities) {
  // The records as the batch leaves them, so that two removals from one
  // digest or one chunk's value both count.
  std::map<std::string, std::optional<std::string>> batch;
  auto current = [&](const std::string& key) {
    auto pending = batch.find(key);
    return pending != batch.end() ? pending->second : db.record(key);
  };
  for (const auto& entity : entities) {
    if (entity->ownRecord()) {
      batch[entity->key] = std::nullopt;
      // An empty digest stays: it tells the game the chunk's entities are
      // of today's form, so it does not look for old-form ones.
      if (!entity->listed) continue;
      std::string digestKey = entity->digestKey();
      std::string digest = current(digestKey).value_or("");
      if (auto damage = tbk::recordDamage(digestKey, digest)) throw damaged(digestKey, *damage);
      batch[digestKey] = withoutId(digest, entity->key.substr(entityPrefix.size()));
      continue;
    }
    std::string value = presentValue(current(entity->key), *entity);
    std::string rest = spliced(value, findRoot(value, *entity), "");
    batch[entity->key] = rest.empty() ? std::nullopt : std::optional<std::string>(rest);
  }
  std::vector<TBKRecord> records;
  for (auto& [key, value] : batch) records.push_back({key, std::move(value)});
  db.writeRecords(records);
}

void TBKEntities::move(TBKLevelDB& db, TBKEntity& entity, const std::array<double, 3>& position,
                       TBKChunkKey::Dimension dimension) {
  TBKEntity before = entity;
  auto oldPos = entity.tree->objectForKeyedSubscript("Pos");
  int32_t x = TBKChunkKey::chunkOf(position[0]);
  int32_t z = TBKChunkKey::chunkOf(position[2]);
  bool sameChunk = x == entity.chunkX && z == entity.chunkZ && dimension == entity.dimension;
  try {
    std::shared_ptr<TBKListTag> pos = positionList(*entity.tree, position);
    entity.tree->setValueForKey(pos);
    if (entity.ownRecord()) {
      std::string id = entity.key.substr(entityPrefix.size());
      std::vector<TBKRecord> records{{entity.key, TBKNBT::serialise(*entity.tree)}};
      std::string newDigest = TBKEntity::digestKey(x, z, dimension);
      if (entity.listed && !sameChunk) {
        records.push_back({entity.digestKey(), withoutId(readDigest(db, entity.digestKey()), id)});
      }
      if (!entity.listed || !sameChunk) records.push_back({newDigest, withId(readDigest(db, newDigest), id)});
      db.writeRecords(records);
      entity.listed = true;
    } else if (sameChunk) {
      write(db, entity);
    } else {
      std::string value = presentValue(db.record(entity.key), entity);
      std::string rest = spliced(value, findRoot(value, entity), "");
      TBKChunkKey target{x, z, dimension, TBKChunkKey::Tag::Entities};
      std::string there = db.record(target.bytes()).value_or("");
      std::vector<size_t> ends;
      try {
        TBKNBT::parseRoots(there, &ends);
      } catch (const TBKException& error) {
        if (error.kind() != TBKException::Kind::Format) throw;
        throw damaged(target.bytes(), error.reason());
      }
      std::string bytes = TBKNBT::serialise(*entity.tree);
      db.writeRecords({{entity.key, rest.empty() ? std::nullopt : std::optional<std::string>(rest)},
                       {target.bytes(), there + bytes}});
      entity.key = target.bytes();
      entity.root = ends.size();
      entity.stored = std::move(bytes);
    }
  } catch (...) {
    entity = std::move(before);
    entity.tree->setObjectForKeyedSubscript(oldPos, "Pos");
    throw;
  }
  entity.chunkX = x;
  entity.chunkZ = z;
  entity.dimension = dimension;
}
