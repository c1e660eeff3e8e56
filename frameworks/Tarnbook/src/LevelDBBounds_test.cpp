// The bounds of third_party/patches/leveldb-bounds.patch, over made-up
// files that cost nothing but what the bound lets through.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include <gtest/gtest.h>
#include <leveldb/cache.h>
#include <leveldb/env.h>
#include <leveldb/table_builder.h>
#include <leveldb/zlib_compressor.h>

#include "db/log_reader.h"
#include "table/format.h"
#include "util/crc32c.h"

namespace {

// `size` bytes: `head`, then zeros.
struct MadeUpTable : leveldb::RandomAccessFile {
  MadeUpTable(std::string head, uint64_t size) : head(std::move(head)), size(size) {}
  leveldb::Status Read(uint64_t offset, size_t n, leveldb::Slice* result, char* scratch) const override {
    size_t count = offset >= size ? 0 : size_t(std::min<uint64_t>(n, size - offset));
    std::memset(scratch, 0, count);
    if (offset < head.size()) std::memcpy(scratch, head.data() + offset, std::min(count, head.size() - offset));
    *result = leveldb::Slice(scratch, count);
    return leveldb::Status::OK();
  }
  std::string head;
  uint64_t size;
};

std::string zlibBlockOfZeros(size_t length) {
  std::string compressed;
  leveldb::ZlibCompressor().compressImpl(std::string(length, '\0').data(), length, compressed);
  return compressed + '\x02' + std::string(4, '\0');  // the block's trailer: compression, checksum
}

TEST(LevelDBBounds, BlocksPastTheirLimitAreRefusedBeforeTheyAreRead) {
  leveldb::ZlibCompressor zlib;
  leveldb::Options options;
  options.compressors[0] = &zlib;
  std::string small = zlibBlockOfZeros(4096), bomb = zlibBlockOfZeros(81 << 20);
  const struct {
    std::string head;
    uint64_t claimed;  // by the handle
    size_t limit;
    const char* status;
  } cases[] = {
      {small, small.size() - 5, leveldb::kMaxIndexBlockSize, "OK"},
      {"", uint64_t(1) << 40, leveldb::kMaxDataBlockSize, "Corruption: block larger than a table holds"},
      {"", 9 << 20, leveldb::kMaxIndexBlockSize, "Corruption: block larger than a table holds"},
      {bomb, bomb.size() - 5, leveldb::kMaxDataBlockSize, "Corruption: corrupted compressed block contents"},
      {bomb, bomb.size() - 5, leveldb::kMaxIndexBlockSize, "Corruption: corrupted compressed block contents"},
  };
  for (const auto& c : cases) {
    MadeUpTable table(c.head, c.claimed + 5);
    leveldb::BlockHandle handle;
    handle.set_offset(0);
    handle.set_size(c.claimed);
    leveldb::BlockContents read;
    leveldb::Status status = leveldb::ReadBlock(&table, options, leveldb::ReadOptions(), handle, &read, c.limit);
    EXPECT_EQ(status.ToString(), c.status) << c.claimed << " bytes in a block of at most " << c.limit;
    if (status.ok()) leveldb::DeleteBlockBytes(read.data.data());
  }
}

// Blocks held at once are bounded across tables: a third 60 MB block is
// refused while two are held, and read once one is let go.
TEST(LevelDBBounds, BlocksHeldAtOncePastTheirBoundAreRefused) {
  MadeUpTable table("", (60 << 20) + 5);
  leveldb::BlockHandle handle;
  handle.set_offset(0);
  handle.set_size(60 << 20);
  leveldb::BlockContents first, second, third;
  auto read = [&](leveldb::BlockContents& into) {
    return leveldb::ReadBlock(&table, leveldb::Options(), leveldb::ReadOptions(), handle, &into).ToString();
  };
  EXPECT_EQ(read(first), "OK");
  EXPECT_EQ(read(second), "OK");
  EXPECT_EQ(read(third), "Corruption: block past what blocks may hold at once, or past memory");
  leveldb::DeleteBlockBytes(first.data.data());
  EXPECT_EQ(read(third), "OK");
  leveldb::DeleteBlockBytes(second.data.data());
  leveldb::DeleteBlockBytes(third.data.data());
  EXPECT_EQ(leveldb::BlockBytesHeld(), 0u);
}

// A block inflates into its own size of memory, counted with the blocks
// held: never a second, uncounted copy of it beside, which let the reader
// and the compaction thread inflating at once pass the bound. Shown in a
// child whose address space leaves room for one copy of the block only.
TEST(LevelDBBounds, ABlockInflatesIntoOneCopyOfItself) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer's shadow memory takes the whole address space";
#endif
  leveldb::ZlibCompressor zlib;
  leveldb::Options options;
  options.compressors[0] = &zlib;
  const size_t size = 79 << 20;
  MadeUpTable table(zlibBlockOfZeros(size), 0);
  table.size = table.head.size();
  leveldb::BlockHandle handle;
  handle.set_offset(0);
  handle.set_size(table.size - 5);
  EXPECT_EXIT(
      {
        size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit room{};
        room.rlim_cur = room.rlim_max = pages * sysconf(_SC_PAGESIZE) + size + (24 << 20);
        setrlimit(RLIMIT_AS, &room);
        leveldb::BlockContents read;
        leveldb::Status status = leveldb::ReadBlock(&table, options, leveldb::ReadOptions(), handle, &read);
        bool whole = status.ok() && read.data.size() == size && leveldb::BlockBytesHeld() == size;
        std::exit(whole ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// A table being written counts a large entry with the blocks held: a
// compaction copies a record out of a block it holds, while readers may
// hold others. Refused past the bound; counted no longer than it is built.
TEST(LevelDBBounds, ALargeEntryBeingWrittenCountsWithTheBlocksHeld) {
  struct Discard : leveldb::WritableFile {
    leveldb::Status Append(const leveldb::Slice&) override { return leveldb::Status::OK(); }
    leveldb::Status Close() override { return leveldb::Status::OK(); }
    leveldb::Status Flush() override { return leveldb::Status::OK(); }
    leveldb::Status Sync() override { return leveldb::Status::OK(); }
  } file;
  const std::string record(30 << 20, 'r');
  auto write = [&] {
    leveldb::TableBuilder table(leveldb::Options(), &file);
    table.Add("key", record);
    table.Finish();
    return table.status().ToString();
  };
  char* held = leveldb::NewBlockBytes(100 << 20);
  EXPECT_EQ(write(), "Corruption: record past what blocks may hold at once");
  leveldb::DeleteBlockBytes(held);
  EXPECT_EQ(write(), "OK");
  EXPECT_EQ(leveldb::BlockBytesHeld(), 0u);
}

// One record in `blocks` fragments of a block each, then the record "after".
struct MadeUpLog : leveldb::SequentialFile {
  explicit MadeUpLog(size_t blocks) : blocks(blocks) {}
  leveldb::Status Read(size_t, leveldb::Slice* result, char* scratch) override {
    using namespace leveldb::log;
    std::string payload = next < blocks ? std::string(kBlockSize - kHeaderSize, 'x') : "after";
    auto type = next == blocks ? kFullType : next == 0 ? kFirstType : next + 1 == blocks ? kLastType : kMiddleType;
    std::string block = char(type) + payload;
    uint32_t crc = leveldb::crc32c::Mask(leveldb::crc32c::Value(block.data(), block.size()));
    block = std::string(reinterpret_cast<char*>(&crc), 4) + char(payload.size()) + char(payload.size() >> 8) + block;
    if (next++ > blocks) block.clear();
    std::memcpy(scratch, block.data(), block.size());
    *result = leveldb::Slice(scratch, block.size());
    return leveldb::Status::OK();
  }
  leveldb::Status Skip(uint64_t) override { return leveldb::Status::NotSupported("skip"); }
  size_t blocks, next = 0;
};

struct Dropped : leveldb::log::Reader::Reporter {
  void Corruption(size_t, const leveldb::Status& status) override { reasons += status.ToString(); }
  std::string reasons;
};

TEST(LevelDBBounds, ALogRecordPast128MBIsDroppedAndTheNextRead) {
  for (size_t blocks : {64, 4200}) {  // 2 MB, 137 MB
    MadeUpLog log(blocks);
    Dropped dropped;
    leveldb::log::Reader reader(&log, &dropped, true, 0);
    leveldb::Slice record;
    std::string scratch;
    ASSERT_TRUE(reader.ReadRecord(&record, &scratch));
    EXPECT_EQ(record.size(), blocks == 64 ? 64 * 32761u : 5u);
    EXPECT_EQ(dropped.reasons, blocks == 64 ? "" : "Corruption: record too large");
  }
}

// A block larger than the whole cache leaves it once its reader lets it go,
// not at some later insert into the same shard.
TEST(LevelDBBounds, ABlockLargerThanTheCacheIsFreedOnceReleased) {
  static int freed = 0;
  std::unique_ptr<leveldb::Cache> cache(leveldb::NewLRUCache(16 << 10));
  leveldb::Cache::Handle* block =
      cache->Insert("block", &freed, 1 << 20, [](const leveldb::Slice&, void* count) { ++*static_cast<int*>(count); });
  cache->Release(block);
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(cache->TotalCharge(), 0u);
}

}  // namespace
