#include "Tarnbook/TBKBlockEntities.h"

#include <map>
#include <optional>

#include "BlockEntityValue.h"
#include "ChunkChecksums.h"
#include "RecordShape.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKNBT.h"

namespace {

constexpr auto blockEntitiesTag = static_cast<char>(TBKChunkKey::Tag::BlockEntities);

// Cheap enough to run on every key of a world: only keys of a chunk
// record's length ending in the block-entities tag are parsed further.
std::optional<TBKChunkKey> blockEntitiesKey(std::string_view key) {
  if ((key.size() != 9 && key.size() != 13) || key.back() != blockEntitiesTag) return std::nullopt;
  return TBKChunkKey::parse(key);
}

// "The block entities of chunk 3, -2 in the Nether" to begin a reason.
std::string recordTitle(const TBKChunkKey& chunk) {
  std::string name = tbk::recordName(chunk.bytes());
  name[0] = 'T';
  return name;
}

std::string reasonFor(const TBKChunkKey& chunk, const std::string& problem) {
  return recordTitle(chunk) + " cannot be changed: " + problem + ".";
}

}  // namespace

bool TBKBlockEntities::forEach(TBKLevelDB& db, const std::function<bool(const TBKBlockEntity&)>& visit,
                               const std::function<void(const Damage&)>& damaged,
                               const std::function<void(double)>& progress, const std::function<bool()>& cancelled) {
  size_t keys = 0;
  return db.forEachRecord(
      [&](std::string_view key, std::string_view value) {
        if (cancelled && keys++ % 256 == 0 && cancelled()) return false;
        auto chunk = blockEntitiesKey(key);
        if (!chunk) return true;
        std::vector<std::shared_ptr<TBKCompoundTag>> roots;
        try {
          roots = TBKNBT::parseRoots(value);
        } catch (const TBKException& error) {
          if (error.kind() != TBKException::Kind::Format) throw;
          if (damaged) damaged(Damage{*chunk, recordTitle(*chunk) + " are damaged (" + error.reason() + ")."});
          return true;
        }
        for (size_t i = 0; i < roots.size(); ++i) {
          if (!visit(TBKBlockEntity{*chunk, i, std::move(roots[i])})) return false;
        }
        return true;
      },
      progress);
}

std::vector<std::shared_ptr<TBKCompoundTag>> TBKBlockEntities::read(TBKLevelDB& db, TBKChunkKey chunk) {
  chunk.tag = TBKChunkKey::Tag::BlockEntities;
  auto value = db.record(chunk.bytes());
  if (!value) return {};
  try {
    return TBKNBT::parseRoots(*value);
  } catch (const TBKException& error) {
    if (error.kind() != TBKException::Kind::Format) throw;
    throw TBKException(TBKException::Kind::Format, recordTitle(chunk) + " are damaged (" + error.reason() + ").");
  }
}

std::string TBKBlockEntities::replaced(std::string_view value, size_t index, const TBKCompoundTag& root,
                                       const std::string* before) {
  return tbk::replacedRoot(value, index, root, before);
}

void TBKBlockEntities::write(TBKLevelDB& db, const std::vector<Replacement>& replacements) {
  // Each chunk's value, read once and changed by every replacement of it,
  // and as it was stored.
  std::map<std::string, std::pair<TBKChunkKey, std::string>> values;
  std::map<std::string, std::string> stored;
  for (const auto& replacement : replacements) {
    TBKChunkKey chunk = replacement.chunk;
    chunk.tag = TBKChunkKey::Tag::BlockEntities;
    std::string key = chunk.bytes();
    auto found = values.find(key);
    if (found == values.end()) {
      auto value = db.record(key);
      if (!value) throw TBKException(TBKException::Kind::Format, reasonFor(chunk, "it is no longer there"));
      stored.emplace(key, *value);
      found = values.emplace(key, std::make_pair(chunk, std::move(*value))).first;
    }
    try {
      found->second.second = replaced(found->second.second, replacement.index, *replacement.root, &replacement.before);
    } catch (const TBKException& error) {
      if (error.kind() != TBKException::Kind::Format) throw;
      throw TBKException(TBKException::Kind::Format, reasonFor(chunk, error.reason()));
    }
  }
  std::vector<TBKRecord> records;
  for (auto& [key, entry] : values) {
    auto& [chunk, value] = entry;
    TBKChunkKey checksumsKey = chunk;
    checksumsKey.tag = TBKChunkKey::Tag::Checksums;
    if (auto checksums = db.record(checksumsKey.bytes())) {
      try {
        records.push_back({checksumsKey.bytes(),
                           tbk::checksumsWith(*checksums, static_cast<uint8_t>(chunk.tag), 0, stored.at(key), value)});
      } catch (const TBKException& error) {
        if (error.kind() != TBKException::Kind::Format) throw;
        throw TBKException(TBKException::Kind::Format, reasonFor(chunk, error.reason()));
      }
    }
    records.push_back({key, std::move(value)});
  }
  db.writeRecords(records);
}
