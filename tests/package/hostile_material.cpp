// Writes what an ordinary user could hand the installed program to make it
// hold gigabytes as root, at almost no cost on disk: databases whose blocks,
// indexes and log records claim far more than they hold, pictures of
// 5600 x 5600 pixels in a few KB, and the hostile archives. hostile_as_nobody
// runs the program against each.
//
// usage: hostile_material table-record|index-claims|terabyte|log-record|forty-records|level0-indexes|level0-blocks
// DB-FOLDER
//        hostile_material picture FILE.png
//        hostile_material archive KIND WORLD-FOLDER FILE.mcworld
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>

#include <leveldb/env.h>
#include <leveldb/table_builder.h>
#include <leveldb/zlib_compressor.h>

#include "WorldReader.h"
#include "ZipBuilder.h"
#include "db/dbformat.h"
#include "db/log_format.h"
#include "db/log_writer.h"
#include "db/version_edit.h"
#include "table/block_builder.h"
#include "table/format.h"
#include "util/coding.h"
#include "util/crc32c.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t megabyte = uint64_t(1) << 20;

void fail(const std::string& why) {
  std::cerr << "hostile_material: " << why << "\n";
  std::exit(1);
}

// A file written at chosen offsets; what is never written stays a hole.
class SparseFile {
 public:
  explicit SparseFile(const fs::path& path) : out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_) fail("cannot write " + path.string());
  }
  void put(uint64_t at, const std::string& bytes) {
    out_.seekp(std::streamoff(at));
    out_.write(bytes.data(), std::streamsize(bytes.size()));
    end_ = std::max(end_, at + bytes.size());
  }
  void append(const std::string& bytes) { put(end_, bytes); }
  uint64_t end() const { return end_; }
  // The file's length set to `length`, the rest a hole.
  void extend(const fs::path& path, uint64_t length) {
    out_.close();
    if (::truncate(path.c_str(), off_t(length)) != 0) fail("cannot extend " + path.string());
    end_ = length;
  }

 private:
  std::ofstream out_;
  uint64_t end_ = 0;
};

std::string internalKey(const std::string& key) {
  return leveldb::InternalKey(key, 1, leveldb::kTypeValue).Encode().ToString();
}

std::string handle(uint64_t offset, uint64_t size) {
  leveldb::BlockHandle h;
  h.set_offset(offset);
  h.set_size(size);
  std::string encoded;
  h.EncodeTo(&encoded);
  return encoded;
}

// A block's trailer: its compression and the checksum over the stored bytes.
std::string trailer(uint32_t crc, char type) {
  std::string bytes(1, type);
  crc = leveldb::crc32c::Mask(leveldb::crc32c::Extend(crc, &type, 1));
  leveldb::PutFixed32(&bytes, crc);
  return bytes;
}

// A block of one entry whose value is `valueBytes` zeros, as written at its
// start (head) and its end (tail); the zeros between are never stored.
struct OneEntryBlock {
  std::string head, tail;
  OneEntryBlock(const std::string& key, uint32_t valueBytes) {
    leveldb::PutVarint32(&head, 0);
    leveldb::PutVarint32(&head, uint32_t(key.size()));
    leveldb::PutVarint32(&head, valueBytes);
    head += key;
    leveldb::PutFixed32(&tail, 0);  // one restart, at the start
    leveldb::PutFixed32(&tail, 1);
  }
};

// A table of data blocks the writer appends, then its index and footer.
class HandMadeTable {
 public:
  explicit HandMadeTable(fs::path path) : path_(std::move(path)), file_(path_) {}
  SparseFile& file() { return file_; }
  void addIndexEntry(const std::string& lastKey, uint64_t offset, uint64_t size) {
    index_.emplace_back(internalKey(lastKey), handle(offset, size));
  }
  // Index and footer appended; `claimedIndexSize` other than 0 makes the
  // footer claim an index block that long, over a hole.
  uint64_t finish(uint64_t claimedIndexSize = 0) {
    leveldb::Options options;
    leveldb::BlockBuilder meta(&options), index(&options);
    uint64_t metaAt = file_.end();
    std::string metaBytes = meta.Finish().ToString();
    file_.append(metaBytes + trailer(leveldb::crc32c::Value(metaBytes.data(), metaBytes.size()), 0));
    for (const auto& [key, value] : index_) index.Add(key, value);
    uint64_t indexAt = file_.end();
    std::string indexBytes = index.Finish().ToString();
    uint64_t indexSize = indexBytes.size();
    if (claimedIndexSize) {
      indexSize = claimedIndexSize;
      file_.put(indexAt + indexSize + leveldb::kBlockTrailerSize - 1, std::string(1, '\0'));
    } else {
      file_.append(indexBytes + trailer(leveldb::crc32c::Value(indexBytes.data(), indexBytes.size()), 0));
    }
    leveldb::Footer footer;
    footer.set_metaindex_handle(*decoded(handle(metaAt, metaBytes.size())));
    footer.set_index_handle(*decoded(handle(indexAt, indexSize)));
    std::string encoded;
    footer.EncodeTo(&encoded);
    file_.append(encoded);
    return file_.end();
  }

 private:
  static std::unique_ptr<leveldb::BlockHandle> decoded(std::string bytes) {
    auto h = std::make_unique<leveldb::BlockHandle>();
    leveldb::Slice slice(bytes);
    h->DecodeFrom(&slice);
    return h;
  }
  fs::path path_;
  SparseFile file_;
  std::vector<std::pair<std::string, std::string>> index_;
};

// CURRENT and a manifest naming each table (level 0) and the log.
void writeManifest(const fs::path& db,
                   const std::vector<std::tuple<uint64_t, uint64_t, std::string, std::string>>& tables,
                   uint64_t logNumber) {
  leveldb::VersionEdit edit;
  edit.SetComparatorName("leveldb.BytewiseComparator");
  edit.SetLogNumber(logNumber);
  edit.SetNextFile(100);
  edit.SetLastSequence(1000);
  for (const auto& [number, size, smallest, largest] : tables) {
    edit.AddFile(0, number, size, leveldb::InternalKey(smallest, 1, leveldb::kTypeValue),
                 leveldb::InternalKey(largest, 1, leveldb::kTypeValue));
  }
  std::string record;
  edit.EncodeTo(&record);
  leveldb::WritableFile* file = nullptr;
  if (!leveldb::Env::Default()->NewWritableFile((db / "MANIFEST-000002").string(), &file).ok()) fail("no manifest");
  {
    leveldb::log::Writer writer(file);
    if (!writer.AddRecord(record).ok()) fail("manifest not written");
  }
  file->Close();
  delete file;
  std::ofstream(db / "CURRENT") << "MANIFEST-000002\n";
}

std::string tableName(uint64_t number) {
  char name[32];
  std::snprintf(name, sizeof name, "%06llu.ldb", static_cast<unsigned long long>(number));
  return name;
}

// One table of ~1 MB whose single zlib block inflates to a 1 GB record of
// the local player.
void tableRecord(const fs::path& db) {
  const std::string key = internalKey("~local_player");
  OneEntryBlock block(key, uint32_t(1) << 30);
  HandMadeTable table(db / tableName(5));
  z_stream zip{};
  deflateInit(&zip, Z_BEST_COMPRESSION);
  std::string stored;
  std::string zeros(megabyte, '\0');
  auto feed = [&](const std::string& in, int flush) {
    zip.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    zip.avail_in = uInt(in.size());
    char out[65536];
    do {
      zip.next_out = reinterpret_cast<Bytef*>(out);
      zip.avail_out = sizeof out;
      deflate(&zip, flush);
      stored.append(out, sizeof out - zip.avail_out);
    } while (zip.avail_out == 0);
  };
  feed(block.head, Z_NO_FLUSH);
  for (int i = 0; i < 1024; ++i) feed(zeros, Z_NO_FLUSH);
  feed(block.tail, Z_FINISH);
  deflateEnd(&zip);
  table.file().append(stored + trailer(leveldb::crc32c::Value(stored.data(), stored.size()), 2));
  table.addIndexEntry("~local_player", 0, stored.size());
  writeManifest(db, {{5, table.finish(), "~local_player", "~local_player"}}, 3);
}

// Tables of nothing but a footer claiming an index block of 1 GB, or a data
// block of 1 TB, over holes.
void claims(const fs::path& db, bool terabyte) {
  std::vector<std::tuple<uint64_t, uint64_t, std::string, std::string>> tables;
  for (uint64_t number = 5; number < 9; ++number) {
    HandMadeTable table(db / tableName(number));
    std::string key = "~local_player";
    if (terabyte) table.addIndexEntry(key, 0, uint64_t(1) << 40);
    tables.emplace_back(number, table.finish(terabyte ? 0 : uint64_t(1) << 30), key, key);
  }
  writeManifest(db, tables, 3);
}

// Level-0 tables, as many as `count`, each of one key: of indexes just
// under their 8 MB bound (`blockBytes` 0), or of one uncompressed block of
// `blockBytes` over a hole.
void levelZero(const fs::path& db, uint64_t count, uint32_t blockBytes) {
  std::vector<std::tuple<uint64_t, uint64_t, std::string, std::string>> tables;
  const std::string key = "~local_player";
  std::string zeros(megabyte, '\0');
  for (uint64_t number = 5; number < 5 + count; ++number) {
    HandMadeTable table(db / tableName(number));
    if (blockBytes) {
      OneEntryBlock block(internalKey(key), blockBytes);
      uint32_t crc = leveldb::crc32c::Value(block.head.data(), block.head.size());
      for (uint32_t done = 0; done < blockBytes; done += uint32_t(megabyte)) {
        crc = leveldb::crc32c::Extend(crc, zeros.data(), std::min<size_t>(megabyte, blockBytes - done));
      }
      crc = leveldb::crc32c::Extend(crc, block.tail.data(), block.tail.size());
      table.file().put(0, block.head);
      table.file().put(block.head.size() + blockBytes, block.tail + trailer(crc, 0));
      table.addIndexEntry(key, 0, block.head.size() + blockBytes + block.tail.size());
    }
    tables.emplace_back(number, table.finish(blockBytes ? 0 : (uint64_t(8) << 20) - 4096), key, key);
  }
  writeManifest(db, tables, 3);
}

// A chest holding a diamond, as little-endian NBT: the value of a chunk's
// block-entities record.
std::string chest(int32_t x, int32_t z) {
  auto name = [](const std::string& text) { return std::string{char(text.size()), '\0'} + text; };
  auto number = [](int32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char(uint32_t(value) >> 8 * i);
    return out;
  };
  std::string item = "\x01" + name("Count") + number(1, 1) + "\x02" + name("Damage") + number(0, 2) + "\x08" +
                     name("Name") + name("minecraft:diamond") + "\x01" + name("Slot") + number(0, 1) + '\0';
  return "\x0a" + name("") + "\x08" + name("id") + name("Chest") + "\x03" + name("x") + number(x * 16, 4) + "\x03" +
         name("y") + number(64, 4) + "\x03" + name("z") + number(z * 16, 4) + "\x09" + name("Items") + "\x0a" +
         number(1, 4) + item + '\0';
}

// A table of a million chunks' block entities, one chest each, the chunk
// at 500, 500 damaged, written in one pass with the library's TableBuilder.
void millionRecords(const fs::path& db) {
  std::vector<std::pair<std::string, std::string>> records;
  for (int32_t x = 0; x < 1000; ++x) {
    for (int32_t z = 0; z < 1000; ++z) {
      std::string key(9, '\x31');
      for (int i = 0; i < 4; ++i) key[i] = char(uint32_t(x) >> 8 * i), key[4 + i] = char(uint32_t(z) >> 8 * i);
      records.emplace_back(key, x == 500 && z == 500 ? std::string("\x0a\x00", 2) : chest(x, z));
    }
  }
  std::sort(records.begin(), records.end());
  leveldb::ZlibCompressor zlib;
  leveldb::Options options;
  options.compressors[0] = &zlib;
  leveldb::WritableFile* file = nullptr;
  if (!leveldb::Env::Default()->NewWritableFile((db / tableName(5)).string(), &file).ok()) fail("no table");
  leveldb::TableBuilder builder(options, file);
  for (const auto& [key, value] : records) builder.Add(internalKey(key), value);
  if (!builder.Finish().ok() || !file->Close().ok()) fail("table not written");
  delete file;
  writeManifest(db, {{5, builder.FileSize(), records.front().first, records.back().first}}, 3);
}

// A log of one 1 GB record (a batch putting the local player) in 32 KB
// fragments, then a small one.
void logRecord(const fs::path& db) {
  using namespace leveldb::log;
  std::ofstream out(db / "000003.log", std::ios::binary);
  auto fragment = [&](RecordType type, const std::string& payload) {
    std::string header;
    char t = char(type);
    uint32_t crc =
        leveldb::crc32c::Mask(leveldb::crc32c::Extend(leveldb::crc32c::Value(&t, 1), payload.data(), payload.size()));
    leveldb::PutFixed32(&header, crc);
    header += char(payload.size() & 0xff);
    header += char(payload.size() >> 8);
    header += t;
    out << header << payload;
  };
  const size_t room = kBlockSize - kHeaderSize;
  std::string batch(12, '\0');
  batch[8] = 1;  // one entry
  batch += char(leveldb::kTypeValue);
  leveldb::PutLengthPrefixedSlice(&batch, "~local_player");
  leveldb::PutVarint32(&batch, uint32_t(1) << 30);
  batch.resize(room, 'x');
  fragment(kFirstType, batch);
  std::string middle(room, 'x');
  for (uint64_t written = room; written < (uint64_t(1) << 30); written += room) fragment(kMiddleType, middle);
  fragment(kLastType, "x");
  out.close();
  writeManifest(db, {}, 3);
}

// 40 player records of 60 MB each, every one under the record limit, each
// its own uncompressed block over a hole.
void fortyRecords(const fs::path& db) {
  HandMadeTable table(db / tableName(5));
  const uint32_t valueBytes = uint32_t(60 * megabyte);
  std::string zeros(megabyte, '\0');
  std::string first, last;
  for (int i = 10; i < 50; ++i) {
    std::string key = "player_server_hostile-" + std::to_string(i);
    if (first.empty()) first = key;
    last = key;
    OneEntryBlock block(internalKey(key), valueBytes);
    uint64_t at = table.file().end();
    table.file().put(at, block.head);
    uint32_t crc = leveldb::crc32c::Value(block.head.data(), block.head.size());
    for (uint32_t done = 0; done < valueBytes; done += uint32_t(megabyte)) {
      crc = leveldb::crc32c::Extend(crc, zeros.data(), zeros.size());
    }
    crc = leveldb::crc32c::Extend(crc, block.tail.data(), block.tail.size());
    uint64_t size = block.head.size() + valueBytes + block.tail.size();
    table.file().put(at + block.head.size() + valueBytes, block.tail + trailer(crc, 0));
    table.addIndexEntry(key, at, size);
  }
  writeManifest(db, {{5, table.finish(), first, last}}, 3);
}

// A greyscale PNG of 5600 x 5600 one-bit pixels, all black.
void picture(const fs::path& file) {
  const uint32_t side = 5600;
  auto chunk = [](const std::string& type, const std::string& data) {
    std::string bytes;
    for (int i = 3; i >= 0; --i) bytes += char(data.size() >> 8 * i);
    std::string body = type + data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
    bytes += body;
    for (int i = 3; i >= 0; --i) bytes += char(crc >> 8 * i);
    return bytes;
  };
  std::string header;
  for (uint32_t value : {side, side}) {
    for (int i = 3; i >= 0; --i) header += char(value >> 8 * i);
  }
  header += std::string("\x01\x00\x00\x00\x00", 5);  // depth 1, grey, deflate, no filter choice, no interlace
  std::string rows(size_t(side) * (1 + side / 8), '\0');
  uLongf packedSize = compressBound(uLong(rows.size()));
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(rows.data()),
            uLong(rows.size()), 9);
  packed.resize(packedSize);
  std::ofstream(file, std::ios::binary) << "\x89PNG\r\n\x1a\n" + chunk("IHDR", header) + chunk("IDAT", packed) +
                                               chunk("IEND", "");
}

// The archives issue 35 names, each made of the world at `world`.
void archive(const std::string& kind, const fs::path& world, const fs::path& out) {
  auto entries = tbktest::entriesOfFolder(world.string());
  auto plus = [&](tbktest::ZipEntry more) {
    auto all = entries;
    all.push_back(std::move(more));
    return tbktest::zipOf(all);
  };
  std::string whole = tbktest::zipOf(entries);
  const std::map<std::string, std::function<std::string()>> kinds = {
      {"dot-dot",
       [&] {
         return plus({"db/../../escape", "x"});
       }},
      {"absolute",
       [&] {
         return plus({"/tmp/escape", "x"});
       }},
      {"link",
       [&] {
         return plus({"world_icon.jpeg", "/etc/shadow", S_IFLNK | 0777});
       }},
      {"fifo",
       [&] {
         return plus({"db/pipe", "", S_IFIFO | 0644});
       }},
      {"repeated",
       [&] {
         return plus({"./level.dat", "x"});
       }},
      {"too-many",
       [&] {
         std::vector<tbktest::ZipEntry> many(65537);
         for (size_t i = 0; i < many.size(); ++i) many[i].name = "f" + std::to_string(i);
         return tbktest::zipOf(many);
       }},
      {"bomb",
       [&] {
         return plus({"db/000009.ldb", std::string(256 * megabyte, '\0')});
       }},
      {"no-level-dat",
       [&] {
         return tbktest::zipOf({{"db/CURRENT", "MANIFEST-000002\n"}});
       }},
      {"truncated", [&] { return whole.substr(0, whole.size() - 30); }},
      {"whole", [&] { return whole; }},
  };
  auto made = kinds.find(kind);
  if (made == kinds.end()) fail("no archive kind " + kind);
  std::ofstream(out, std::ios::binary) << made->second();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 4 && args[0] == "archive") return archive(args[1], args[2], args[3]), 0;
  if (args.size() == 2 && args[0] == "picture") return picture(args[1]), 0;
  const std::map<std::string, std::function<void(const fs::path&)>> databases = {
      {"table-record", tableRecord},
      {"index-claims", [](const fs::path& db) { claims(db, false); }},
      {"terabyte", [](const fs::path& db) { claims(db, true); }},
      {"log-record", logRecord},
      {"forty-records", fortyRecords},
      {"million-records", millionRecords},
      {"level0-indexes", [](const fs::path& db) { levelZero(db, 200, 0); }},
      {"level0-blocks", [](const fs::path& db) { levelZero(db, 40, uint32_t(79 * megabyte)); }},
  };
  if (args.size() != 2 || !databases.count(args[0])) {
    std::cerr << "usage: hostile_material "
                 "table-record|index-claims|terabyte|log-record|forty-records|million-records|level0-indexes|level0-"
                 "blocks DB-FOLDER\n"
                 "       hostile_material picture FILE.png\n"
                 "       hostile_material archive KIND WORLD-FOLDER FILE.mcworld\n";
    return 64;
  }
  fs::create_directories(args[1]);
  databases.at(args[0])(args[1]);
  return 0;
}
