#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <leveldb/db.h>
#include <leveldb/env.h>
#include <leveldb/write_batch.h>
#include <leveldb/zlib_compressor.h>

namespace demoland {

// A world's database as the game of today opens it (zlib blocks, no LOG
// file): records put into one batch, written and compacted when it goes.
// Raises TBKException when the database cannot be opened.
class DemoDatabase {
 public:
  explicit DemoDatabase(const std::filesystem::path& world);
  DemoDatabase(const DemoDatabase&) = delete;
  DemoDatabase& operator=(const DemoDatabase&) = delete;
  ~DemoDatabase();

  void put(const std::string& key, const std::string& value) { batch_.Put(key, value); }

 private:
  struct SilentLogger : leveldb::Logger {
    void Logv(const char*, va_list) override {}
  } logger_;
  leveldb::ZlibCompressor zlib_;
  leveldb::Options options_;
  std::unique_ptr<leveldb::DB> db_;
  leveldb::WriteBatch batch_;
};

// A chunk's key: x, z, the dimension outside the Overworld, the tag and,
// for a sub-chunk (0x2f), its index.
std::string chunkKey(int32_t x, int32_t z, int32_t dimension, char tag, int8_t index = 0);
// value's low `bytes` bytes, little-endian, appended to out.
void appendInt(std::string& out, uint64_t value, int bytes);

}  // namespace demoland
