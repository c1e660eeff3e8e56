// The bounds third_party/patches/leveldb-bounds.patch adds to the game's
// database library, tested where they act: a table's block as its handle
// claims it, a block's inflated contents, and a log record as it is put
// together from its fragments. Every input is made up as it is read, so
// the claims cost nothing but the memory the bound lets through.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <leveldb/env.h>
#include <leveldb/options.h>
#include <leveldb/table.h>
#include <leveldb/zlib_compressor.h>

#include "db/log_format.h"
#include "db/log_reader.h"
#include "table/format.h"
#include "util/crc32c.h"

namespace {

// A table file of `size` bytes: `head` at its start, `tail` at its end,
// zeros between.
class MadeUpTable : public leveldb::RandomAccessFile {
 public:
  MadeUpTable(std::string head, uint64_t size, std::string tail = "")
      : head_(std::move(head)), tail_(std::move(tail)), size_(size) {}
  leveldb::Status Read(uint64_t offset, size_t n, leveldb::Slice* result, char* scratch) const override {
    size_t count = offset >= size_ ? 0 : size_t(std::min<uint64_t>(n, size_ - offset));
    std::memset(scratch, 0, count);
    if (offset < head_.size()) std::memcpy(scratch, head_.data() + offset, std::min(count, head_.size() - offset));
    if (offset + count == size_ && count >= tail_.size()) {
      std::memcpy(scratch + count - tail_.size(), tail_.data(), tail_.size());
    }
    *result = leveldb::Slice(scratch, count);
    return leveldb::Status::OK();
  }

 private:
  std::string head_, tail_;
  uint64_t size_;
};

// `length` zeros as zlib (id 2) compresses them, with the block trailer.
std::string zlibBlockOfZeros(size_t length) {
  std::string compressed;
  leveldb::ZlibCompressor().compressImpl(std::string(length, '\0').data(), length, compressed);
  return compressed + '\x02' + std::string(4, '\0');
}

TEST(LevelDBBounds, BlocksPastTheirLimitAreRefusedBeforeTheyAreRead) {
  leveldb::ZlibCompressor zlib;
  leveldb::Options options;
  options.compressors[0] = &zlib;
  std::string bomb = zlibBlockOfZeros(81 << 20);
  std::string small = zlibBlockOfZeros(4096);
  const struct {
    const char* what;
    std::string head;
    uint64_t claimed;  // the handle's size
    size_t limit;
    const char* refusal;  // nullptr: read whole
  } cases[] = {
      {"a block of 4 KB", small, small.size() - 5, leveldb::kMaxIndexBlockSize, nullptr},
      {"a data block claiming 1 TB", "", uint64_t(1) << 40, leveldb::kMaxDataBlockSize, "larger than a table holds"},
      {"an index block claiming 9 MB", "", 9 << 20, leveldb::kMaxIndexBlockSize, "larger than a table holds"},
      {"80 KB inflating to 81 MB", bomb, bomb.size() - 5, leveldb::kMaxDataBlockSize, "compressed block"},
      {"a data block's 81 MB in an index block", bomb, bomb.size() - 5, leveldb::kMaxIndexBlockSize,
       "compressed block"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MadeUpTable table(c.head, c.claimed + 5);
    leveldb::BlockHandle handle;
    handle.set_offset(0);
    handle.set_size(c.claimed);
    leveldb::BlockContents contents;
    leveldb::Status status = leveldb::ReadBlock(&table, options, leveldb::ReadOptions(), handle, &contents, c.limit);
    if (!c.refusal) {
      ASSERT_TRUE(status.ok()) << status.ToString();
      EXPECT_EQ(contents.data.ToString(), std::string(4096, '\0'));
      delete[] contents.data.data();
      continue;
    }
    EXPECT_TRUE(status.IsCorruption()) << status.ToString();
    EXPECT_NE(status.ToString().find(c.refusal), std::string::npos) << status.ToString();
  }
}

TEST(LevelDBBounds, ATableWhoseIndexClaimsMoreThan8MBDoesNotOpen) {
  for (uint64_t claimed : {uint64_t(4096), uint64_t(9) << 20}) {
    SCOPED_TRACE(claimed);
    leveldb::Footer footer;
    leveldb::BlockHandle meta, index;
    meta.set_offset(0);
    meta.set_size(0);
    index.set_offset(0);
    index.set_size(claimed);
    footer.set_metaindex_handle(meta);
    footer.set_index_handle(index);
    std::string encoded;
    footer.EncodeTo(&encoded);
    MadeUpTable file("", claimed + 5 + encoded.size(), encoded);
    leveldb::Table* table = nullptr;
    leveldb::Status status = leveldb::Table::Open(leveldb::Options(), &file, claimed + 5 + encoded.size(), &table);
    EXPECT_EQ(status.ok(), claimed == 4096) << status.ToString();
    delete table;
  }
}

// A log of one record fragmented over `blocks` blocks, then the record
// "after" whole.
class MadeUpLog : public leveldb::SequentialFile {
 public:
  explicit MadeUpLog(size_t blocks) : blocks_(blocks) {}
  leveldb::Status Read(size_t n, leveldb::Slice* result, char* scratch) override {
    EXPECT_EQ(n, size_t(leveldb::log::kBlockSize));
    std::string block;
    if (next_ < blocks_) {
      auto type = next_ == 0             ? leveldb::log::kFirstType
                  : next_ + 1 == blocks_ ? leveldb::log::kLastType
                                         : leveldb::log::kMiddleType;
      block = fragment(type, std::string(leveldb::log::kBlockSize - leveldb::log::kHeaderSize, 'x'));
    } else if (next_ == blocks_) {
      block = fragment(leveldb::log::kFullType, "after");
    }
    ++next_;
    std::memcpy(scratch, block.data(), block.size());
    *result = leveldb::Slice(scratch, block.size());
    return leveldb::Status::OK();
  }
  leveldb::Status Skip(uint64_t) override { return leveldb::Status::NotSupported("skip"); }

 private:
  static std::string fragment(leveldb::log::RecordType type, const std::string& payload) {
    std::string typed = char(type) + payload;
    uint32_t crc = leveldb::crc32c::Mask(leveldb::crc32c::Value(typed.data(), typed.size()));
    std::string header(reinterpret_cast<const char*>(&crc), 4);
    header += char(payload.size() & 0xff);
    header += char(payload.size() >> 8);
    return header + typed;
  }

  size_t blocks_;
  size_t next_ = 0;
};

struct Dropped : leveldb::log::Reader::Reporter {
  void Corruption(size_t, const leveldb::Status& status) override { reasons += status.ToString(); }
  std::string reasons;
};

TEST(LevelDBBounds, ALogRecordPast128MBIsDroppedAndTheNextRead) {
  const struct {
    size_t blocks;
    size_t length;  // of the first record read
  } cases[] = {{64, 64 * 32761}, {4200, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.blocks);
    MadeUpLog log(c.blocks);
    Dropped dropped;
    leveldb::log::Reader reader(&log, &dropped, true, 0);
    leveldb::Slice record;
    std::string scratch;
    ASSERT_TRUE(reader.ReadRecord(&record, &scratch));
    EXPECT_EQ(record.size(), c.length);
    EXPECT_EQ(dropped.reasons.find("record too large") != std::string::npos, c.length == 5) << dropped.reasons;
  }
}

}  // namespace
