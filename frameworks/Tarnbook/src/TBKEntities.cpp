#include "Tarnbook/TBKEntities.h"

#include <xxhash.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <utility>

#include "ChunkChecksums.h"
#include "EntityScanner.h"
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

// The records with, for each old-form value they change in a chunk that
// keeps checksums over its records (worlds saved before the Caves and
// Cliffs update), that chunk's checksums made to match in the same batch.
// A value removed from such a chunk is refused: a checksum of a record that
// is gone would no longer match anything.
std::vector<TBKRecord> withChecksums(TBKLevelDB& db, std::vector<TBKRecord> records) {
  std::map<std::string, std::string> checksums;
  for (const auto& record : records) {
    auto chunk = TBKChunkKey::parse(record.key);
    if (!chunk || chunk->tag != TBKChunkKey::Tag::Entities) continue;
    TBKChunkKey key = *chunk;
    key.tag = TBKChunkKey::Tag::Checksums;
    auto known = checksums.find(key.bytes());
    std::optional<std::string> current =
        known != checksums.end() ? std::optional<std::string>(known->second) : db.record(key.bytes());
    if (!current) continue;
    if (!record.value) {
      throw TBKException(TBKException::Kind::Format, "The world's " + tbk::recordName(record.key) +
                                                         " would be left empty, and its chunk keeps checksums over "
                                                         "its records; it was left as it is.");
    }
    try {
      checksums[key.bytes()] = tbk::checksumsWith(*current, static_cast<uint8_t>(chunk->tag), 0,
                                                  db.record(record.key).value_or(std::string()), *record.value);
    } catch (const TBKException& error) {
      if (error.kind() != TBKException::Kind::Format) throw;
      throw damaged(key.bytes(), error.reason());
    }
  }
  for (auto& [key, value] : checksums) records.push_back({key, std::move(value)});
  return records;
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

uint64_t rootCheck(std::string_view bytes) { return XXH3_64bits(bytes.data(), bytes.size()); }

void remember(TBKEntity& entity, std::string_view rootBytes) {
  entity.storedSize = rootBytes.size();
  entity.storedCheck = rootCheck(rootBytes);
}

// An entity's summary from the bytes just written; they were made by the
// writer, so they scan.
TBKEntity::Summary scanned(std::string_view bytes) { return tbk::scanEntity(bytes); }

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
  auto holdsEntity = [&](const RootPlace& at) {
    return at.end - at.start == entity.storedSize &&
           rootCheck(value.substr(at.start, at.end - at.start)) == entity.storedCheck;
  };
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

// Why the reader refuses bytes the scanner refused, in the reader's words
// (the scanner's own when the reader takes them after all).
std::string refusal(const TBKException& scanned, const std::function<void()>& parse) {
  try {
    parse();
  } catch (const TBKException& error) {
    if (error.kind() != TBKException::Kind::Format) throw;
    return error.reason();
  }
  return scanned.reason();
}

void readOldForm(std::string_view key, std::string_view value, const TBKChunkKey& chunk,
                 TBKEntities::Listing& listing) {
  std::vector<std::shared_ptr<TBKEntity>> roots;
  try {
    for (size_t at = 0; at < value.size();) {
      size_t consumed = 0;
      auto entity = std::make_shared<TBKEntity>();
      entity->summary = tbk::scanEntity(value.substr(at), &consumed);
      entity->key = std::string(key);
      entity->root = roots.size();
      entity->chunkX = chunk.x;
      entity->chunkZ = chunk.z;
      entity->dimension = chunk.dimension;
      remember(*entity, value.substr(at, consumed));
      roots.push_back(std::move(entity));
      at += consumed;
    }
  } catch (const TBKException& error) {
    if (error.kind() != TBKException::Kind::Format) throw;
    listing.addProblem(damaged(key, refusal(error, [&] { TBKNBT::parseRoots(value); })).reason());
    return;
  }
  for (auto& entity : roots) listing.entities.push_back(std::move(entity));
}

// A listing's entities, made in blocks rather than one allocation each: a
// world holds tens of thousands. Each entity handed out shares the pool's
// life, so the pool goes when the last of them does.
class EntityPool {
 public:
  static std::shared_ptr<TBKEntity> make(std::shared_ptr<EntityPool>& pool) {
    if (!pool) pool = std::make_shared<EntityPool>();
    if (pool->used_ == pool->size_) {
      pool->size_ = std::min<size_t>(pool->size_ * 2, 4096);
      pool->blocks_.push_back(std::make_unique<TBKEntity[]>(pool->size_));
      pool->used_ = 0;
    }
    return std::shared_ptr<TBKEntity>(pool, &pool->blocks_.back()[pool->used_++]);
  }

 private:
  std::vector<std::unique_ptr<TBKEntity[]>> blocks_;
  size_t size_ = 32, used_ = 32;
};

// An entity no digest names stands where its position is.
void placeByPosition(TBKEntity& entity) {
  auto position = entity.position();
  entity.chunkX = TBKChunkKey::chunkOf(position[0]);
  entity.chunkZ = TBKChunkKey::chunkOf(position[2]);
  int32_t dimension = entity.summary.dimensionId.intValue();
  entity.dimension = dimension == 1 || dimension == 2 ? static_cast<Dimension>(dimension) : Dimension::Overworld;
  entity.listed = false;
}

}  // namespace

std::optional<TBKEntities::Listing> TBKEntities::list(TBKLevelDB& db, const std::function<bool()>& cancelled,
                                                      const std::function<void(double)>& progress) {
  Listing listing;
  // Ids as numbers that sort as their bytes do, so the records, walked in
  // key order, need no map: a digest's ids are found by binary search. The
  // records sort before every digest ("actorprefix" < "digp"), so a digest
  // places its creatures as it is walked; an id not found then waits for the
  // walk's end (the world lacks it, or the walk was not in key order).
  auto idOrder = [](const char* id) { return __builtin_bswap64(tbk::readLittleEndian<uint64_t>(id)); };
  using Placed = std::pair<uint64_t, TBKEntity*>;
  std::vector<Placed> byId;
  bool sorted = true;
  std::vector<std::pair<uint64_t, TBKChunkKey>> pending;
  std::shared_ptr<EntityPool> pool;
  auto place = [&](uint64_t id, const TBKChunkKey& chunk) {
    auto found = std::lower_bound(byId.begin(), byId.end(), Placed(id, nullptr),
                                  [](const Placed& a, const Placed& b) { return a.first < b.first; });
    if (found == byId.end() || found->first != id) return false;
    TBKEntity& entity = *found->second;
    if (entity.listed) return true;  // named twice: the first digest counts
    entity.listed = true;
    entity.chunkX = chunk.x;
    entity.chunkZ = chunk.z;
    entity.dimension = chunk.dimension;
    return true;
  };
  bool finished = db.forEachRecord(
      [&](std::string_view key, std::string_view value) {
        if (cancelled && cancelled()) return false;
        if (isEntityKey(key)) {
          auto entity = EntityPool::make(pool);
          try {
            size_t consumed = 0;
            entity->summary = tbk::scanEntity(value, &consumed);
            if (consumed != value.size()) {
              throw TBKException(TBKException::Kind::Format, "bytes follow the compound");
            }
          } catch (const TBKException& error) {
            if (error.kind() != TBKException::Kind::Format) throw;
            listing.addProblem(damaged(key, refusal(error, [&] { TBKNBT::parseCompound(value); })).reason());
            return true;
          }
          entity->key = std::string(key);
          entity->listed = false;  // until a digest names it
          uint64_t id = idOrder(key.data() + entityPrefix.size());
          sorted = sorted && (byId.empty() || byId.back().first < id);
          byId.emplace_back(id, entity.get());
          listing.entities.push_back(std::move(entity));
        } else if (auto digest = digestChunk(key)) {
          if (auto damage = tbk::recordDamage(key, value)) {
            listing.addProblem(damaged(key, *damage).reason());
          } else {
            for (size_t at = 0; at + idSize <= value.size(); at += idSize) {
              uint64_t id = idOrder(&value[at]);
              if (!sorted || !place(id, *digest)) pending.emplace_back(id, *digest);
            }
          }
        } else if (auto chunk = TBKChunkKey::parse(key); chunk && chunk->tag == TBKChunkKey::Tag::Entities) {
          readOldForm(key, value, *chunk, listing);
        }
        return true;
      },
      progress);
  if (!finished) return std::nullopt;

  if (!sorted) {
    std::sort(byId.begin(), byId.end(), [](const Placed& a, const Placed& b) { return a.first < b.first; });
  }
  for (const auto& [id, chunk] : pending) {
    if (place(id, chunk)) continue;
    std::string key(entityPrefix);
    tbk::appendLittleEndian(key, __builtin_bswap64(id));
    listing.addProblem("The " + tbk::recordName(TBKEntity::digestKey(chunk.x, chunk.z, chunk.dimension)) + " names " +
                       tbk::recordName(key) + ", which the world does not hold.");
  }
  for (auto& [id, entity] : byId) {
    if (!entity->listed) placeByPosition(*entity);
  }
  return listing;
}

void TBKEntities::Listing::addProblem(std::string problem) {
  if (problems.size() < maximumProblems) {
    problems.push_back(std::move(problem));
  } else {
    ++problemsNotTold;
  }
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
    if (root >= listing.entities.size()) return nullptr;
    load(db, *listing.entities[root]);
    return listing.entities[root];
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
  entity->summary = scanned(*value);
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

void TBKEntities::load(TBKLevelDB& db, TBKEntity& entity) {
  if (entity.tree) return;
  std::string value = presentValue(db.record(entity.key), entity);
  std::string_view bytes = value;
  RootPlace at{0, 0, value.size()};
  if (!entity.ownRecord()) {
    at = findRoot(value, entity);
    bytes = bytes.substr(at.start, at.end - at.start);
  }
  std::shared_ptr<TBKCompoundTag> tree;
  try {
    tree = TBKNBT::parseCompound(bytes);
  } catch (const TBKException& error) {
    if (error.kind() != TBKException::Kind::Format) throw;
    throw damaged(entity.key, error.reason());
  }
  entity.summary = scanned(bytes);
  entity.tree = std::move(tree);
  if (!entity.ownRecord()) entity.root = at.index;
}

TBKEntity::Summary TBKEntities::summaryOf(const TBKCompoundTag& tree) { return scanned(TBKNBT::serialise(tree)); }

void TBKEntities::write(TBKLevelDB& db, TBKEntity& entity) {
  if (!entity.tree) {
    throw TBKException(TBKException::Kind::Usage, "An entity's tree is written only once it has been read.");
  }
  std::string bytes = TBKNBT::serialise(*entity.tree);
  if (entity.ownRecord()) {
    db.writeRecords({{entity.key, bytes}});
    entity.summary = scanned(bytes);
    return;
  }
  std::string value = presentValue(db.record(entity.key), entity);
  RootPlace at = findRoot(value, entity);
  db.writeRecords(withChecksums(db, {{entity.key, spliced(value, at, bytes)}}));
  entity.root = at.index;
  entity.summary = scanned(bytes);
  remember(entity, bytes);
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
  db.writeRecords(withChecksums(db, std::move(records)));
}

void TBKEntities::move(TBKLevelDB& db, TBKEntity& entity, const std::array<double, 3>& position,
                       TBKChunkKey::Dimension dimension) {
  load(db, entity);
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
      entity.summary = scanned(records.front().value.value_or(""));
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
      db.writeRecords(withChecksums(db, {{entity.key, rest.empty() ? std::nullopt : std::optional<std::string>(rest)},
                                         {target.bytes(), there + bytes}}));
      entity.key = target.bytes();
      entity.root = ends.size();
      entity.summary = scanned(bytes);
      remember(entity, bytes);
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
