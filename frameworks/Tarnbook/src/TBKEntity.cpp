#include "Tarnbook/TBKEntity.h"

#include "LittleEndian.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNumberTag.h"

std::array<double, 3> TBKEntity::position() const {
  std::array<double, 3> position{0, 0, 0};
  auto pos = tree ? tree->listForKey("Pos") : nullptr;
  for (size_t i = 0; pos && i < 3 && i < pos->count(); ++i) {
    if (auto number = std::dynamic_pointer_cast<TBKNumberTag>(pos->objectAtIndexedSubscript(i))) {
      position[i] = number->value().doubleValue();
    }
  }
  return position;
}

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
