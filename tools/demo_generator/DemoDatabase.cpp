#include "DemoDatabase.h"

#include "Tarnbook/TBKException.h"

namespace demoland {

DemoDatabase::DemoDatabase(const std::filesystem::path& world) {
  options_.compressors[0] = &zlib_;
  options_.info_log = &logger_;  // the game leaves no LOG file in a world
  leveldb::DB* raw = nullptr;
  if (!leveldb::DB::Open(options_, (world / "db").string(), &raw).ok()) {
    throw TBKException(TBKException::Kind::File, "Could not open the database of " + world.string());
  }
  db_.reset(raw);
}

DemoDatabase::~DemoDatabase() {
  leveldb::WriteOptions sync;
  sync.sync = true;
  db_->Write(sync, &batch_);
  db_->CompactRange(nullptr, nullptr);
}

std::string chunkKey(int32_t x, int32_t z, int32_t dimension, char tag, int8_t index) {
  std::string key;
  appendInt(key, uint32_t(x), 4);
  appendInt(key, uint32_t(z), 4);
  if (dimension != 0) appendInt(key, uint32_t(dimension), 4);
  key += tag;
  if (tag == '\x2f') key += static_cast<char>(index);
  return key;
}

void appendInt(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

}  // namespace demoland
