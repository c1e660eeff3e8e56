#include "Tarnbook/TBKEntity.h"

#include "LittleEndian.h"

std::string TBKEntity::idText() const {
  if (root) {
    return "chunk:" + std::to_string(chunkX) + ":" + std::to_string(chunkZ) + ":" +
           std::to_string(static_cast<int32_t>(dimension)) + ":" + std::to_string(*root);
  }
  if (key.size() < 8) return key;
  return std::to_string(tbk::readLittleEndian<int64_t>(key.data() + key.size() - 8));
}

std::string TBKEntity::digestKey(int32_t x, int32_t z, TBKChunkKey::Dimension dimension) {
  std::string digest = "digp";
  tbk::appendLittleEndian(digest, x);
  tbk::appendLittleEndian(digest, z);
  if (dimension != TBKChunkKey::Dimension::Overworld) tbk::appendLittleEndian(digest, static_cast<int32_t>(dimension));
  return digest;
}
