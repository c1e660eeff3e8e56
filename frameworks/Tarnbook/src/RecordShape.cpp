#include "RecordShape.h"

#include <cstdio>

#include "ChunkChecksums.h"
#include "LittleEndian.h"
#include "Tarnbook/TBKChunkKey.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKNBT.h"

namespace tbk {

namespace {

constexpr std::string_view digestPrefix = "digp";
constexpr std::string_view entityPrefix = "actorprefix";

bool startsWith(std::string_view key, std::string_view prefix) { return key.substr(0, prefix.size()) == prefix; }

bool isPlayerKey(std::string_view key) { return key == "~local_player" || startsWith(key, "player_"); }

std::string chunkName(int32_t x, int32_t z, TBKChunkKey::Dimension dimension) {
  return "chunk " + std::to_string(x) + ", " + std::to_string(z) +
         (dimension == TBKChunkKey::Dimension::Overworld
              ? ""
              : " in the " + std::string(TBKChunkKey::dimensionName(dimension)));
}

std::string hex(std::string_view bytes) {
  std::string text = "0x";
  for (char c : bytes) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", unsigned(static_cast<unsigned char>(c)));
    text += pair;
  }
  return text;
}

// A digest key: "digp", x, z and, outside the Overworld, the dimension.
std::optional<std::string> digestName(std::string_view key) {
  if (!startsWith(key, digestPrefix) || (key.size() != 12 && key.size() != 16)) return std::nullopt;
  auto dimension = TBKChunkKey::Dimension::Overworld;
  if (key.size() == 16) {
    int32_t number = readLittleEndian<int32_t>(key.data() + 12);
    if (number != 1 && number != 2) return std::nullopt;
    dimension = static_cast<TBKChunkKey::Dimension>(number);
  }
  return "the entity list of " +
         chunkName(readLittleEndian<int32_t>(key.data() + 4), readLittleEndian<int32_t>(key.data() + 8), dimension);
}

std::optional<std::string> nbtDamage(std::string_view bytes, bool severalRoots) {
  try {
    if (!severalRoots) {
      TBKNBT::parseCompound(bytes);
    } else {
      TBKNBT::parseRoots(bytes);
    }
  } catch (const TBKException& error) {
    if (error.kind() != TBKException::Kind::Format) throw;
    return error.reason();
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> recordDamage(std::string_view key, std::string_view bytes) {
  if (isPlayerKey(key) || (startsWith(key, entityPrefix) && key.size() == entityPrefix.size() + 8)) {
    return nbtDamage(bytes, false);
  }
  if (digestName(key)) {
    if (bytes.size() % 8 != 0) return "it is " + std::to_string(bytes.size()) + " bytes, not a list of 8-byte ids";
    return std::nullopt;
  }
  if (auto chunk = TBKChunkKey::parse(key)) {
    if (chunk->tag == TBKChunkKey::Tag::BlockEntities || chunk->tag == TBKChunkKey::Tag::Entities) {
      return nbtDamage(bytes, true);
    }
    if (chunk->tag == TBKChunkKey::Tag::Checksums) {
      try {
        parseChecksums(bytes);
      } catch (const TBKException& error) {
        if (error.kind() != TBKException::Kind::Format) throw;
        return error.reason();
      }
    }
  }
  return std::nullopt;
}

std::string recordName(std::string_view key) {
  if (auto digest = digestName(key)) return *digest;
  if (startsWith(key, entityPrefix) && key.size() == entityPrefix.size() + 8) {
    return "entity " + hex(key.substr(entityPrefix.size()));
  }
  if (auto chunk = TBKChunkKey::parse(key)) {
    std::string where = chunkName(chunk->x, chunk->z, chunk->dimension);
    switch (chunk->tag) {
      case TBKChunkKey::Tag::BlockEntities:
        return "the block entities of " + where;
      case TBKChunkKey::Tag::Entities:
        return "the entities of " + where;
      case TBKChunkKey::Tag::SubChunk:
        return "sub-chunk " + std::to_string(chunk->subChunk) + " of " + where;
      default:
        return "record " + hex(std::string_view(reinterpret_cast<const char*>(&chunk->tag), 1)) + " of " + where;
    }
  }
  for (char c : key) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f) return hex(key);
  }
  return std::string(key);
}

}  // namespace tbk
